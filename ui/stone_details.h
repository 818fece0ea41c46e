#pragma once

#include <QString>
#include <array>

#include "browser/ports.h"

namespace marventa {

class AutoSizeLabel;

// The nine lines of the "Effects" group, Label2 .. Label10, as the controller writes them.
class StoneDetails : public StoneDetailsPort {
  public:
    explicit StoneDetails(const std::array<AutoSizeLabel*, 9>& labels);

    void setStoneDetail(int label, std::string_view caption) override;

    // The lines shown, in order, joined by ", ": how a screen reader hears them.
    QString spokenLines() const;

  private:
    std::array<AutoSizeLabel*, 9> labels_;
};

}  // namespace marventa
