// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

#include "core/chart/chart_codes.h"
#include "core/time/date_time.h"

namespace kr820::core {

// Annotation type codes the program writes. Type 0 with an empty text draws nothing: that is how
// the program deletes an annotation, and what a slot never written holds.
inline constexpr qint32 kAnnotationText = 0;
inline constexpr qint32 kAnnotationCross = 2;

// A text or a symbol pinned to a point of the plot.
struct GraphAnnotation {
    qint32 Type = kAnnotationText;
    TDateTime X = 0.0;
    double Y = 0.0;
    QString Text;
    RgbColor Color = 0xFFFFFF;
    qint32 Axis = 0;  // the Y axis whose scale Y is in

    bool operator==(const GraphAnnotation&) const = default;
};

// A vertical line across the plot at one X, with an optional text (the point cursor).
struct VertLineAnnotation {
    TDateTime X = 0.0;
    qint32 Type = 0;
    RgbColor Color = 0x000000;
    QString Text;

    bool operator==(const VertLineAnnotation&) const = default;
};

// Both kinds of annotation, addressed by index as the graph code does: it writes index 4 first
// and counts up from there, so writing an index creates every slot below it. The count is the
// highest index written + 1.
class ChartAnnotations {
public:
    // Each annotation is a user's click; far more than anyone places, and a bound on what a
    // stray index or a saved block can allocate.
    static constexpr int kMaxGraphAnnotations = 65536;
    static constexpr int kMaxVertLineAnnotations = 1024;

    int GraphAnnotationCount() const { return static_cast<int>(m_graph.size()); }
    // A default annotation for an index never written.
    GraphAnnotation GraphAnnotationAt(int index) const;
    // The slot at `index`, created with the slots below it; null for a negative index or one
    // beyond the maximum. Valid until the next edit or add of the same kind.
    GraphAnnotation* EditGraphAnnotation(int index);
    // Placed after the last one; its index, or -1 when the chart is full.
    int AddGraphAnnotation(const GraphAnnotation& annotation);
    void ClearGraphAnnotations() { m_graph.clear(); }

    int VertLineAnnotationCount() const { return static_cast<int>(m_vertLines.size()); }
    VertLineAnnotation VertLineAnnotationAt(int index) const;
    VertLineAnnotation* EditVertLineAnnotation(int index);
    int AddVertLineAnnotation(const VertLineAnnotation& line);
    void ClearVertLineAnnotations() { m_vertLines.clear(); }

    const std::vector<GraphAnnotation>& GraphAnnotations() const { return m_graph; }
    const std::vector<VertLineAnnotation>& VertLineAnnotations() const { return m_vertLines; }

    bool operator==(const ChartAnnotations&) const = default;

private:
    std::vector<GraphAnnotation> m_graph;
    std::vector<VertLineAnnotation> m_vertLines;
};

}  // namespace kr820::core
