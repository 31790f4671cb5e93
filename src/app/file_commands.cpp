// SPDX-License-Identifier: MIT
#include "app/file_commands.h"

#include <QFileInfo>
#include <QPointer>
#include <algorithm>
#include <limits>
#include <optional>

#include "app/command_lock.h"
#include "app/frm_main.h"
#include "core/chart/chart_data.h"
#include "core/data/parse_memory_image.h"
#include "core/documents/data_logger_document.h"
#include "core/files/collection_file.h"
#include "core/files/graph_file.h"
#include "core/files/point_range.h"
#include "core/files/regional_formats.h"
#include "core/files/single_file_kind.h"
#include "core/files/text_file_reader.h"
#include "core/files/text_file_writer.h"
#include "core/logging/log_categories.h"
#include "core/settings/program_folder.h"
#include "graph/configure_graph.h"
#include "graph/frm_graph.h"
#include "meter/data_logger_loading.h"
#include "meter/recording_in_store.h"
#include "store/store_exports.h"
#include "store/store_signature.h"
#include "store/stored_recording.h"
#include "ui/file_dialog_filters.h"
#include "ui/frm_open_save.h"
#include "ui/frm_scope.h"
#include "ui/input_only_to.h"
#include "ui/prompter.h"

namespace kr820::app {
namespace {

const QString kGraphFilter = QStringLiteral("Graph file(*.ghf,only for KR820) (*.GHF *.ghf)");
const QString kTxtFilter = QStringLiteral("TXT file(*.txt,data seperated by tab) (*.TXT *.txt)");
const QString kCsvFilter =
    QStringLiteral("EXCEL file format(*.CSV,seperated by comma) (*.CSV *.csv)");
const QString kCollectionSaveFilter =
    QStringLiteral("Data Set Collection file(*.820,only for KR820) (*.820)");
// Recordings until stopped, kept in their stores.
const QString kStoreFilter = QStringLiteral("Recording store(*.kr8db) (*.kr8db *.KR8DB)");
// A store under another name opens too: its content tells.
const QString kAnyFileFilter = QStringLiteral("All files (*)");
// The description is shown alone; its own "(*.820)" is part of it.
const QString kCollectionOpenFilter = QStringLiteral("Data Sets Collection (*.820) (*.820)");

// A name that does not end in the extension of a kind of file the program writes gets that of the
// chosen kind, so that the chosen kind decides what is written and the file opens again as such.
QString WithSuffix(const QString& path, const QString& selectedFilter) {
    if (path.isEmpty()) return path;
    const QString typed = QFileInfo(path).suffix();
    if (!typed.isEmpty() && (core::SingleFileKindOf(path) != core::SingleFileKind::Unknown ||
                             typed == QLatin1String("820")))
        return path;
    const QString suffix = ui::SuffixOfNameFilter(selectedFilter);
    return path + QLatin1Char('.') + (suffix.isEmpty() ? QStringLiteral("GHF") : suffix);
}

// Between lines of a file being written: the count shown and the events run, the user's input
// reaching only the progress window; false once its Cancel was pressed or it is gone.
bool SavingGoesOn(const QPointer<ui::TfrmScope>& progress, qsizetype done) {
    if (!progress) return false;
    progress->SetProgress(static_cast<int>(done));
    ui::ProcessEventsWithInputOnlyTo(progress);
    return progress && !progress->CancelPressed();
}

}  // namespace

QString WriteFailureMessage(const QString& path, const core::WriteOutcome& outcome) {
    qCWarning(core::lcFiles).noquote() << "writing" << path << "failed:" << outcome.Reason;
    if (outcome.Status == core::WriteStatus::WriteFailed) {
        return kWriteFailedMessage.arg(path, outcome.Reason);
    }
    return kCannotWriteMessage.arg(path, outcome.Reason);
}

FileCommands::FileCommands(TfrmMain& main, ui::Prompter& prompter)
    : m_main(main), m_prompter(prompter) {}

QWidget* FileCommands::Owner() const { return &m_main; }

QString FileCommands::SingleFileFilter() const {
    QString filter = kGraphFilter + QStringLiteral(";;") + kTxtFilter;
    if (core::RegionalFormats::FromLocale().OffersCsv())
        filter += QStringLiteral(";;") + kCsvFilter;
    return filter;
}

void FileCommands::btnOpenClick() {
    ui::TfrmOpenSave choice("Open File", Owner());
    choice.UseOpenCaptions(!core::RegionalFormats::FromLocale().OffersCsv());
    switch (m_prompter.Exec(choice)) {
        case ui::TfrmOpenSave::Collection:
            OpenCollection();
            break;
        case ui::TfrmOpenSave::SingleSet:
            OpenSingleFile();
            break;
        default:
            break;
    }
}

bool FileCommands::Save1Click(graph::TfrmGraph* active) {
    if (!active) return false;
    if (!active->IsDataLogger()) return SaveSingleSet(*active);
    ui::TfrmOpenSave choice("Save File", Owner());
    switch (m_prompter.Exec(choice)) {
        case ui::TfrmOpenSave::Collection:
            return SaveCollection();
        case ui::TfrmOpenSave::SingleSet:
            return SaveSingleSet(*active);
        default:
            return false;
    }
}

bool FileCommands::SaveSingleSet(graph::TfrmGraph& window) {
    const bool saved = WriteSingleSet(window);
    if (saved && window.IsRealTime()) m_main.RealTimeGraphSaved();
    return saved;
}

bool FileCommands::WriteSingleSet(graph::TfrmGraph& window) {
    QString selected = kGraphFilter;
    const QString chosen = m_prompter.SaveFileName(Owner(), core::FileDialogFolder(),
                                                   SingleFileFilter(), "GHF", &selected);
    if (chosen.isEmpty()) return false;
    core::RememberFileDialogFolder(chosen);
    const QString path = WithSuffix(chosen, selected);
    if (window.Recording()) return WriteRecording(window, path);
    switch (core::SingleFileKindOf(path)) {
        case core::SingleFileKind::Graph: {
            const core::WriteOutcome outcome = core::WriteGraphFile(window.Chart(), path);
            if (!outcome.Written()) {
                m_prompter.Message(Owner(), core::GraphWriteMessage(outcome, path));
                return false;
            }
            window.MarksSaved();  // only a graph file keeps them
            return true;
        }
        case core::SingleFileKind::TabText:
            return WriteTextFileWithRange(window, path, false);
        case core::SingleFileKind::CommaText:
            return WriteTextFileWithRange(window, path, true);
        case core::SingleFileKind::Unknown:
            return false;
    }
    return false;
}

std::optional<core::PointRange> FileCommands::AskRangeToSave(int points) {
    ui::TfrmScope scope(Owner());
    scope.setWindowTitle("Save File");
    scope.ShowRangeChoice(points);
    if (m_prompter.Exec(scope) != QDialog::Accepted) return std::nullopt;
    const ui::PointRangeChoice choice = scope.RangeChoice();
    if (choice.All) return core::AllPoints(points);
    const auto selected = core::SelectedPoints(choice.From, choice.To, points);
    if (!selected) m_prompter.Message(Owner(), core::kInvalidIntegerMessage);
    return selected;
}

QPointer<ui::TfrmScope> FileCommands::ShowSavingProgress(qsizetype lines) {
    QPointer<ui::TfrmScope> progress = new ui::TfrmScope(Owner());
    progress->setAttribute(Qt::WA_DeleteOnClose);
    progress->setWindowTitle("Saving Progress");
    progress->ShowProgress(static_cast<int>(lines), "saving.....", true);
    // Modal: while the events run between lines, its Cancel is the only input, and the window
    // being written stays open until the file is whole.
    progress->setWindowModality(Qt::ApplicationModal);
    progress->show();
    return progress;
}

bool FileCommands::WriteTextFileWithRange(graph::TfrmGraph& window, const QString& path,
                                          bool comma) {
    const std::optional<core::PointRange> range = AskRangeToSave(window.Chart().Data().Points());
    if (!range) return false;

    const QPointer<ui::TfrmScope> progress = ShowSavingProgress(range->Count());
    const CloseRefusal keepOpen(&window);
    const core::TextWriteOutcome written = core::WriteTextFile(
        window.Chart().Data(), path, comma ? core::TextSeparator::Comma : core::TextSeparator::Tab,
        *range, core::RegionalFormats::FromLocale(),
        [&](qsizetype done, qsizetype) { return SavingGoesOn(progress, done); });
    if (progress) progress->close();
    if (!written.File.Written()) {
        m_prompter.Message(Owner(), WriteFailureMessage(path, written.File));
        return false;
    }
    return true;
}

bool FileCommands::WriteRecording(graph::TfrmGraph& window, const QString& path) {
    store::StoredRecording& recording = *window.Recording();
    const qint64 readings = recording.Count();
    switch (core::SingleFileKindOf(path)) {
        case core::SingleFileKind::Graph: {
            qint64 points = readings;
            if (points > core::ChartData::kMaxPoints) {
                // A graph file holds a chart, and a chart no more than this: the user may keep
                // the part that fits or choose another kind of file.
                if (m_prompter.Confirm(
                        Owner(),
                        kGraphFileLimitQuestion.arg(readings).arg(core::ChartData::kMaxPoints),
                        ui::Prompter::Buttons::YesNo) != ui::Prompter::Answer::Yes)
                    return false;
                points = core::ChartData::kMaxPoints;
            }
            const core::WriteOutcome outcome = window.WriteRecordingGraphFile(path, int(points));
            if (!outcome.Written()) {
                m_prompter.Message(Owner(), WriteFailureMessage(path, outcome));
                return false;
            }
            window.MarksSaved();
            return true;
        }
        case core::SingleFileKind::TabText:
        case core::SingleFileKind::CommaText:
            return WriteRecordingText(
                window, path, core::SingleFileKindOf(path) == core::SingleFileKind::CommaText);
        case core::SingleFileKind::Unknown:
            return false;
    }
    return false;
}

bool FileCommands::WriteRecordingText(graph::TfrmGraph& window, const QString& path, bool comma) {
    store::StoredRecording& recording = *window.Recording();
    // The range dialog counts in an int, like the list.
    const int points = int(std::min<qint64>(recording.Count(), std::numeric_limits<int>::max()));
    const std::optional<core::PointRange> range = AskRangeToSave(points);
    if (!range) return false;
    const QPointer<ui::TfrmScope> progress = ShowSavingProgress(range->Count());
    const CloseRefusal keepOpen(&window);
    constexpr qsizetype kLinesBetweenEvents = 4096;
    const core::TextWriteOutcome written = store::WriteStoreTextFile(
        recording.Reader(), path, comma ? core::TextSeparator::Comma : core::TextSeparator::Tab,
        std::max(range->First, 1) - 1, range->Last, core::RegionalFormats::FromLocale(),
        [&](qsizetype done, qsizetype) {
            return done % kLinesBetweenEvents != 0 || SavingGoesOn(progress, done);
        });
    if (progress) progress->close();
    if (!written.File.Written()) {
        m_prompter.Message(Owner(), WriteFailureMessage(path, written.File));
        return false;
    }
    return true;
}

void FileCommands::OpenSingleFile() {
    const QString path =
        m_prompter.OpenFileName(Owner(), core::FileDialogFolder(),
                                SingleFileFilter() + QStringLiteral(";;") + kStoreFilter +
                                    QStringLiteral(";;") + kAnyFileFilter,
                                nullptr);
    if (path.isEmpty()) return;
    core::RememberFileDialogFolder(path);
    // A store is known by its content, whatever it was named ("oven.kr820").
    if (QFileInfo(path).suffix().compare(meter::kStoreSuffix, Qt::CaseInsensitive) == 0 ||
        store::BeginsAsStore(path)) {
        OpenStore(path);
        return;
    }
    const core::SingleFileKind kind = core::SingleFileKindOf(path);
    if (kind == core::SingleFileKind::Unknown) {
        // Read as nothing, it would be an empty window that looks like data.
        qCWarning(core::lcFiles).noquote() << "opening" << path << "refused: no kind it reads";
        m_prompter.Message(Owner(), kUnknownFileMessage.arg(path));
        return;
    }
    std::optional<core::TextReadOutcome> text;
    if (kind == core::SingleFileKind::TabText || kind == core::SingleFileKind::CommaText) {
        // Read before the window is made: a file that is no data gets no window.
        text = ReadTextFileWithProgress(path, kind == core::SingleFileKind::CommaText);
        if (text->Status == core::TextReadStatus::NoPoints) {
            m_prompter.Message(Owner(), kNoDataInFileMessage.arg(path, text->Reason));
            return;
        }
    }
    // A text file that does not open reads as nothing: said, and no empty window made.
    if (text && text->Status == core::TextReadStatus::CannotOpen) {
        // In the words a graph file that does not open gets.
        core::GraphReadOutcome notOpened;
        notOpened.Status = core::GraphReadStatus::CannotOpen;
        notOpened.Reason = text->Reason;
        m_prompter.Message(Owner(), core::GraphReadMessage(notOpened, path));
        return;
    }
    graph::TfrmGraph* window = m_main.CreateFileWindow(path);
    if (kind == core::SingleFileKind::Graph) {
        const core::GraphReadOutcome read = core::ReadGraphFile(path, window->Chart());
        if (read.Status != core::GraphReadStatus::Loaded)
            m_prompter.Message(Owner(), core::GraphReadMessage(read, path));
    } else if (text) {
        graph::ConfigureGraph(window->Chart(), graph::ScaleFilePath(core::ProgramFolder()), 2,
                              text->Content.Points, text->Content.MinX, text->Content.MaxX,
                              core::kTextFileMinY, core::kTextFileMaxY);
        core::LayTextFileOntoChart(text->Content, window->Chart().Data());
        window->SetUnit(text->Content.Unit);
    }
    window->Chart().Redraw();
    window->PrepareSingleSetWindow();
}

void FileCommands::OpenStore(const QString& path) {
    QString error;
    std::shared_ptr<store::StoredRecording> recording = store::StoredRecording::Open(path, &error);
    if (!recording) {
        // A store of another program or a newer version is refused, never guessed at.
        qCWarning(core::lcFiles).noquote() << "opening" << path << "failed:" << error;
        m_prompter.Message(Owner(), error);
        return;
    }
    // Another program may be writing it, or resume it: what it adds appears as it comes.
    recording->Follow(kStorePollInterval);
    const QString notice = recording->Reader().Notice();
    graph::TfrmGraph* window = m_main.CreateFileWindow(path);
    window->PrepareSingleSetWindow();
    window->ShowRecording(std::move(recording));
    // An incomplete copy is shown with what it holds, and the user told what it lacks.
    if (!notice.isEmpty()) m_prompter.Message(Owner(), notice);
}

core::TextReadOutcome FileCommands::ReadTextFileWithProgress(const QString& path, bool comma) {
    QPointer<ui::TfrmScope> progress = new ui::TfrmScope(Owner());
    progress->setAttribute(Qt::WA_DeleteOnClose);
    progress->setWindowTitle("Open Progress");
    progress->ShowCount("0");
    progress->setWindowModality(Qt::ApplicationModal);
    progress->show();
    core::TextReadOutcome read =
        core::ReadTextFile(path, comma ? core::TextSeparator::Comma : core::TextSeparator::Tab,
                           core::RegionalFormats::FromLocale(), [&](qsizetype done, qsizetype) {
                               if (!progress || progress->CancelPressed()) return false;
                               progress->ShowCount(QString::number(done));
                               ui::ProcessEventsWithInputOnlyTo(progress);
                               return progress && !progress->CancelPressed();
                           });
    if (progress) progress->close();
    return read;
}

bool FileCommands::SaveCollection() {
    QString selected = kCollectionSaveFilter;
    const QString chosen = m_prompter.SaveFileName(Owner(), core::FileDialogFolder(),
                                                   kCollectionSaveFilter, "820", &selected);
    if (chosen.isEmpty()) return false;
    core::RememberFileDialogFolder(chosen);
    const QString path = WithSuffix(chosen, selected);
    const core::WriteOutcome outcome = m_main.DataLogger().SaveCollection(path);
    if (outcome.Status == core::WriteStatus::NothingToSave) {
        m_prompter.Message(Owner(), kNothingToSaveMessage);
        return false;
    }
    if (!outcome.Written()) {
        // Closing still asks, since nothing was kept.
        m_prompter.Message(Owner(), WriteFailureMessage(path, outcome));
        return false;
    }
    return true;
}

void FileCommands::OpenCollection() {
    // A download not yet saved is asked about, as closing its window would; Cancel leaves it.
    if (!m_main.AskToKeepDataLoggerData()) return;
    const QString path =
        m_prompter.OpenFileName(Owner(), core::FileDialogFolder(), kCollectionOpenFilter, nullptr);
    if (path.isEmpty()) return;  // no DataLogger window made for nothing
    core::RememberFileDialogFolder(path);
    m_main.ShowDataLoggerWindow();
    core::DataLoggerDocument& document = m_main.DataLogger();

    // Read and checked aside, so that a file that is refused changes nothing in the window.
    core::TDataSetStore checked;
    const core::CollectionOpenOutcome opened = core::OpenCollection(path, checked);
    switch (opened.Status) {
        case core::CollectionOpenStatus::Opened:
            // Shown, it is saved: what the window shows is in a file.
            meter::LoadIntoDataLogger(document, opened.Image, path, m_prompter, Owner());
            return;
        case core::CollectionOpenStatus::Damaged:
            if (opened.Parse.Code == core::ParseCode::DamagedRecord && opened.Parse.ErrorSet > 0 &&
                m_prompter.Confirm(Owner(),
                                   opened.Parse.ErrorSet == 1
                                       ? kRecoverOneQuestion.arg(path)
                                       : kRecoverQuestion.arg(path).arg(opened.Parse.ErrorSet),
                                   ui::Prompter::Buttons::YesNo) == ui::Prompter::Answer::Yes) {
                meter::LoadSetsBeforeDamage(document, opened.Image, opened.Parse, path, m_prompter,
                                            Owner());
                return;
            }
            m_prompter.Message(Owner(), kCannotReadCollectionMessage.arg(path));
            return;
        case core::CollectionOpenStatus::Empty:
        case core::CollectionOpenStatus::TooLarge:
            m_prompter.Message(Owner(), kCannotReadCollectionMessage.arg(path));
            return;
        case core::CollectionOpenStatus::CannotOpen:
            return;  // as before: the window stays as it was, without a message
    }
}

}  // namespace kr820::app
