#pragma once

#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace marventa {

// A fixed, ordered table of records, numbered from 1. List row k shows record k + 1.
template <class Record>
class PlaceTable {
  public:
    constexpr explicit PlaceTable(std::span<const Record> rows) : rows_(rows) {}

    constexpr int count() const { return static_cast<int>(rows_.size()); }

    // Record k, 1-based.
    constexpr const Record& record(int k) const {
        if (k < 1 || k > count()) {
            throw std::out_of_range("record number outside the table");
        }
        return rows_[static_cast<std::size_t>(k - 1)];
    }

    std::vector<std::string_view> names() const {
        std::vector<std::string_view> result;
        result.reserve(rows_.size());
        for (const Record& r : rows_) {
            result.push_back(r.name);
        }
        return result;
    }

    constexpr std::span<const Record> rows() const { return rows_; }

  private:
    std::span<const Record> rows_;
};

}  // namespace marventa
