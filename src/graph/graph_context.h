// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>
#include <QString>
#include <functional>

namespace kr820::core {
struct AppState;
class DataLoggerDocument;
}  // namespace kr820::core
namespace kr820::ui {
class Prompter;
}

namespace kr820::graph {

class TfrmGraph;

// What a click on a chart does; one value shared by every graph window.
enum class GraphCursorMode : int { Normal = -99, Text = 0, Cross = 2 };

// The graph tools' state that outlives any one window: the main window owns one and hands it to
// every graph window it creates.
struct SharedGraphTools {
    GraphCursorMode CursorMode = GraphCursorMode::Normal;
    qint32 LastAnnotationIndex = 3;  // the first placed annotation takes 4
};

// Things only the main window can do. Any of them may be left empty; the window then skips it.
struct GraphCommands {
    // "Save DataLogger Data ?" answered Yes: the main window's Save command, which saves the
    // collection or the chosen set; true only when a file was written.
    std::function<bool(TfrmGraph&)> Save1Click;
    // "Save Real-Time Graph ?" answered Yes: save this window's chart as a single data set file;
    // true only when a file was written.
    std::function<bool(TfrmGraph&)> SaveSingleSet;
    // The window is closing: the main window drops its reference to it.
    std::function<void(TfrmGraph&)> ForgetWindow;
    // The View menu's "Real Time &Graph" tick.
    std::function<void(bool)> SetRealTimeGraphTicked;
    // The real-time points were saved or given up with Clear: nothing is left unsaved, and the
    // copy kept against a crash is no longer wanted.
    std::function<void()> DiscardRealTimePoints;
    // The Real-Time Graph closes, its points saved or given up: the recorder ends whatever
    // recording runs and the commands follow.
    std::function<void()> RealTimeGraphClosed;
};

// Everything a graph window needs from the main window, passed once when the window is created.
struct GraphContext {
    ui::Prompter& Prompter;
    core::AppState& State;
    SharedGraphTools& Tools;
    // Holds "ini/KR820.ini"; empty means no scale file.
    QString ProgramFolder;
    // What the DataLogger window shows; other roles need none.
    core::DataLoggerDocument* DataLogger = nullptr;
    // Dates, times and decimal separators; tests pass a fixed one.
    QLocale Locale = QLocale::system();
    GraphCommands Commands;
};

}  // namespace kr820::graph
