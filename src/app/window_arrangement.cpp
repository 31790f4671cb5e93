// SPDX-License-Identifier: MIT
#include "app/window_arrangement.h"

#include <algorithm>
#include <cmath>

namespace kr820::app {
namespace {

// `place` grown to `minimum` where the area allows, then moved back inside the area.
QRect FittedInside(QRect place, QSize minimum, QSize area) {
    place.setWidth(std::min(std::max(place.width(), minimum.width()), area.width()));
    place.setHeight(std::min(std::max(place.height(), minimum.height()), area.height()));
    place.moveLeft(std::clamp(place.left(), 0, area.width() - place.width()));
    place.moveTop(std::clamp(place.top(), 0, area.height() - place.height()));
    return place;
}

}  // namespace

std::vector<QRect> TiledPlaces(QSize area, int count, QSize minimum, int step) {
    std::vector<QRect> places;
    if (count <= 0 || area.isEmpty()) return places;
    // The squarest grid whose cells hold the minimum, the nearest column count first.
    const int squarest = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const auto holds = [&](int columns) {
        const int rows = (count + columns - 1) / columns;
        return area.width() / columns >= minimum.width() &&
               area.height() / rows >= minimum.height();
    };
    int columns = 0;
    for (int distance = 0; distance < count && columns == 0; ++distance) {
        if (squarest - distance >= 1 && holds(squarest - distance)) {
            columns = squarest - distance;
        } else if (squarest + distance <= count && holds(squarest + distance)) {
            columns = squarest + distance;
        }
    }
    if (columns == 0) return CascadedPlaces(area, count, minimum, step);
    const int rows = (count + columns - 1) / columns;
    for (int i = 0; i < count; ++i) {
        const int row = i / columns;
        // The last row's windows share its whole width.
        const int inRow = row == rows - 1 ? count - row * columns : columns;
        const int column = i % columns;
        const int left = area.width() * column / inRow;
        const int right = area.width() * (column + 1) / inRow;
        const int top = area.height() * row / rows;
        const int bottom = area.height() * (row + 1) / rows;
        places.push_back(FittedInside(QRect(left, top, right - left, bottom - top), minimum, area));
    }
    return places;
}

std::vector<QRect> CascadedPlaces(QSize area, int count, QSize minimum, int step) {
    std::vector<QRect> places;
    if (count <= 0 || area.isEmpty()) return places;
    const int offset = step * (count - 1);
    // As large as the steps leave room for, so that every title bar stays in view, even where
    // that is below the windows' minimum; a third of the area at least, when windows are many.
    const QSize size(std::max(area.width() - offset, area.width() / 3),
                     std::max(area.height() - offset, area.height() / 3));
    for (int i = 0; i < count; ++i) {
        places.push_back(FittedInside(QRect(QPoint(i * step, i * step), size), QSize(), area));
    }
    return places;
}

}  // namespace kr820::app
