// SPDX-License-Identifier: MIT
#include "core/chart/chart_annotations.h"

namespace kr820::core {
namespace {

template <typename Item>
Item* Slot(std::vector<Item>& items, int index, int maxCount) {
    if (index < 0 || index >= maxCount) return nullptr;
    if (index >= static_cast<int>(items.size())) items.resize(index + 1);
    return &items[index];
}

template <typename Item>
Item ItemAt(const std::vector<Item>& items, int index) {
    return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : Item{};
}

template <typename Item>
int Append(std::vector<Item>& items, const Item& item, int maxCount) {
    if (static_cast<int>(items.size()) >= maxCount) return -1;
    items.push_back(item);
    return static_cast<int>(items.size()) - 1;
}

}  // namespace

GraphAnnotation ChartAnnotations::GraphAnnotationAt(int index) const {
    return ItemAt(m_graph, index);
}

GraphAnnotation* ChartAnnotations::EditGraphAnnotation(int index) {
    return Slot(m_graph, index, kMaxGraphAnnotations);
}

int ChartAnnotations::AddGraphAnnotation(const GraphAnnotation& annotation) {
    return Append(m_graph, annotation, kMaxGraphAnnotations);
}

VertLineAnnotation ChartAnnotations::VertLineAnnotationAt(int index) const {
    return ItemAt(m_vertLines, index);
}

VertLineAnnotation* ChartAnnotations::EditVertLineAnnotation(int index) {
    return Slot(m_vertLines, index, kMaxVertLineAnnotations);
}

int ChartAnnotations::AddVertLineAnnotation(const VertLineAnnotation& line) {
    return Append(m_vertLines, line, kMaxVertLineAnnotations);
}

}  // namespace kr820::core
