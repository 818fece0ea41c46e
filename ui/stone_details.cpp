#include "stone_details.h"

#include "auto_size_label.h"
#include "qstring_view.h"

namespace marventa {

namespace {

// A blank line shows nothing; hidden, it is not read out either.
void showLine(AutoSizeLabel& label, const QString& caption) {
    label.setCaption(caption);
    label.setVisible(!caption.trimmed().isEmpty());
}

}  // namespace

StoneDetails::StoneDetails(const std::array<AutoSizeLabel*, 9>& labels) : labels_(labels) {
    for (AutoSizeLabel* label : labels_) {
        showLine(*label, label->text());
    }
}

void StoneDetails::setStoneDetail(int label, std::string_view caption) {
    showLine(*labels_.at(static_cast<std::size_t>(label - 2)), fromCore(caption));
}

QString StoneDetails::spokenLines() const {
    QStringList lines;
    for (const AutoSizeLabel* label : labels_) {
        if (!label->isHidden()) {
            lines.append(label->text());
        }
    }
    return lines.join(QStringLiteral(", "));
}

}  // namespace marventa
