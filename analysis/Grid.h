#pragma once

#include <cstddef>
#include <vector>

// A two-dimensional array indexed (row, column) from 0, for the per-item, per-choice results.
template <class T> class Grid {
public:
    Grid() = default;
    Grid(int rows, int columns) : rows_(rows), columns_(columns), cells_(std::size_t(rows) * columns) {}

    int rows() const { return rows_; }
    int columns() const { return columns_; }
    T& operator()(int row, int column) { return cells_[std::size_t(row) * columns_ + column]; }
    const T& operator()(int row, int column) const { return cells_[std::size_t(row) * columns_ + column]; }

private:
    int rows_ = 0;
    int columns_ = 0;
    std::vector<T> cells_;
};
