// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <chrono>
#include <optional>

#include "core/files/point_range.h"

class QWidget;

namespace kr820::core {
struct ParseOutcome;
struct TextReadOutcome;
struct WriteOutcome;
}  // namespace kr820::core
namespace kr820::graph {
class TfrmGraph;
}
namespace kr820::ui {
class Prompter;
class TfrmScope;
}  // namespace kr820::ui

namespace kr820::app {

class TfrmMain;

// The Open and Save commands and everything they lead to: single data set files (".ghf", ".txt",
// ".csv") written from and read into graph windows, and the data set collection (".820") of the
// DataLogger window. The formats themselves live in the core.
class FileCommands {
public:
    FileCommands(TfrmMain& main, ui::Prompter& prompter);

    void btnOpenClick();
    // Acts only when the active child window is a graph window; true when a file was written.
    bool Save1Click(graph::TfrmGraph* active);

    // Saves one window's chart; true only when a file was really written.
    bool SaveSingleSet(graph::TfrmGraph& window);
    // Also a recording store, followed while another program writes it.
    void OpenSingleFile();
    void OpenStore(const QString& path);
    bool SaveCollection();
    void OpenCollection();

private:
    bool WriteSingleSet(graph::TfrmGraph& window);
    // A window over a recording store writes from the store, a block at a time.
    bool WriteRecording(graph::TfrmGraph& window, const QString& path);
    bool WriteRecordingText(graph::TfrmGraph& window, const QString& path, bool comma);
    bool WriteTextFileWithRange(graph::TfrmGraph& window, const QString& path, bool comma);
    // The Save File range dialog; nothing when cancelled or refused (the refusal told).
    std::optional<core::PointRange> AskRangeToSave(int points);
    QPointer<ui::TfrmScope> ShowSavingProgress(qsizetype lines);
    core::TextReadOutcome ReadTextFileWithProgress(const QString& path, bool comma);
    QString SingleFileFilter() const;
    QWidget* Owner() const;

    TfrmMain& m_main;
    ui::Prompter& m_prompter;
};

// How often a store that another program writes is looked at for new readings.
inline constexpr std::chrono::milliseconds kStorePollInterval{1000};

// Texts of the messages this program adds where a file operation would otherwise fail silently.
// %1 the readings of the recording, %2 what a graph file holds.
inline const QString kGraphFileLimitQuestion = QStringLiteral(
    "The recording holds %1 readings, but a graph file holds at most %2. Save its first %2 "
    "readings? (A text file holds them all.)");
inline const QString kNothingToSaveMessage = QStringLiteral("There is no downloaded data to save.");
inline const QString kCannotReadCollectionMessage =
    QStringLiteral("The file \"%1\" is not a data set collection that can be read.");
inline const QString kRecoverQuestion = QStringLiteral(
    "The file \"%1\" holds a damaged data set. Show the %2 data sets recorded before it?");
inline const QString kRecoverOneQuestion = QStringLiteral(
    "The file \"%1\" holds a damaged data set. Show the data set recorded before it?");
inline const QString kNoDataInFileMessage =
    QStringLiteral("The file \"%1\" holds no data this program reads: %2.");
inline const QString kUnknownFileMessage = QStringLiteral(
    "The file \"%1\" is none this program opens: a graph file (.ghf), a text file (.txt, .csv) "
    "or a recording store (.kr8db).");
inline const QString kCannotWriteMessage = QStringLiteral("Cannot create file \"%1\". %2");
inline const QString kWriteFailedMessage = QStringLiteral(
    "The file \"%1\" was not saved: %2. Any earlier file of that name is unchanged.");

// The message for a write that did not happen, by how it failed.
QString WriteFailureMessage(const QString& path, const core::WriteOutcome& outcome);

}  // namespace kr820::app
