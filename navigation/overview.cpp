#include "overview.h"

#include "catalogue/city_directory.h"
#include "ramka.h"
#include "view_mode.h"

namespace marventa {

Overview::Overview(const OverviewBitmap& pristine, const CityButtonsPort& cityButtons)
    : pristine_(pristine), shown_(pristine), cityButtons_(cityButtons) {}

void Overview::Ramka(PictureRect rect, Size content) {
    RamkaInput in{ViewMode == ProvinceView, rect, content, {}};
    for (std::size_t i = 0; i < kCityDirectory.size(); ++i) {
        in.checkedCities[i] = cityButtons_.isCityButtonChecked(kCityDirectory[i].radioButton);
    }
    renderOverview(shown_, pristine_, in);
    if (onChanged_) {
        onChanged_();
    }
}

}  // namespace marventa
