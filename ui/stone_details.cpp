#include "stone_details.h"

#include "auto_size_label.h"
#include "qstring_view.h"

namespace marventa {

void StoneDetails::setStoneDetail(int label, std::string_view caption) {
    labels_.at(static_cast<std::size_t>(label - 2))->setCaption(fromCore(caption));
}

}  // namespace marventa
