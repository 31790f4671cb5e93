// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

namespace kr820::graph {

// A graph window: the real-time graph, the DataLogger window or a window of an opened file,
// told apart by the caption.
class TfrmGraph : public QWidget {
    Q_OBJECT

public:
    static inline const QString kRealTimeCaption = QStringLiteral("Real-Time Graph");
    static inline const QString kDataLoggerCaption = QStringLiteral("DataLogger");

    explicit TfrmGraph(const QString& caption, QWidget* parent = nullptr);
};

}  // namespace kr820::graph
