// SPDX-License-Identifier: MIT
#include "meter/until_stopped_recording.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "core/logging/log_categories.h"
#include "store/store_writer.h"
#include "store/stored_recording.h"

namespace kr820::meter {

QString NewStorePath(const QString& folder, qint64 startMs) {
    const QString stem =
        QStringLiteral("Recording ") +
        QDateTime::fromMSecsSinceEpoch(startMs).toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    QString path = QDir(folder).filePath(stem + QLatin1Char('.') + kStoreSuffix);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path =
            QDir(folder).filePath(QStringLiteral("%1 (%2).%3").arg(stem).arg(n).arg(kStoreSuffix));
    return path;
}

UntilStoppedRecording::UntilStoppedRecording(QString markerPath)
    : m_markerPath(std::move(markerPath)) {}

UntilStoppedRecording::~UntilStoppedRecording() = default;

bool UntilStoppedRecording::Begin(const QString& folder, const store::StoreHeader& header,
                                  QString* error) {
    m_writer.reset();
    m_recording.reset();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("the folder \"%1\" cannot be made").arg(folder);
        return false;
    }
    const QString path = NewStorePath(folder, header.StartMs);
    m_writer = store::StoreWriter::Create(path, header, error);
    if (!m_writer) return false;
    m_recording = store::StoredRecording::Open(path, error);
    if (!m_recording) {
        m_writer.reset();
        return false;
    }
    // Named before the first reading: a crash from here on leaves a store to offer.
    QSaveFile marker(m_markerPath);
    if (!marker.open(QIODevice::WriteOnly) || marker.write(path.toUtf8()) < 0 || !marker.commit()) {
        qCWarning(core::lcRealTime).noquote()
            << "the marker" << m_markerPath << "of the recording" << path << "was not written";
    }
    return true;
}

bool UntilStoppedRecording::Append(const store::StoredReading& reading) {
    if (!m_writer || !m_writer->Append(reading)) return false;
    m_recording->Refresh();
    return true;
}

bool UntilStoppedRecording::AddAlarmMark(const store::AlarmMark& mark) {
    return m_writer && m_writer->AddAlarmMark(mark);
}

QString UntilStoppedRecording::FailureReason() const {
    return m_writer ? m_writer->FailureReason() : QString();
}

QString UntilStoppedRecording::Path() const {
    return m_recording ? m_recording->Path() : QString();
}

void UntilStoppedRecording::Stop(qint64 stoppedMs) {
    if (!m_writer) return;
    if (!m_writer->Failed() && !m_writer->Finish(stoppedMs)) {
        qCWarning(core::lcRealTime).noquote()
            << "the stop of" << Path() << "was not written:" << m_writer->FailureReason();
    }
    m_writer.reset();
    if (m_recording) m_recording->Refresh();
    QFile::remove(m_markerPath);
}

std::optional<QString> UntilStoppedRecording::LeftOverStore() const {
    if (Running()) return std::nullopt;
    QFile marker(m_markerPath);
    if (!marker.open(QIODevice::ReadOnly)) return std::nullopt;
    const QString path = QString::fromUtf8(marker.readAll()).trimmed();
    marker.close();
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        QFile::remove(m_markerPath);
        return std::nullopt;
    }
    return path;
}

std::shared_ptr<store::StoredRecording> UntilStoppedRecording::CloseLeftOver(const QString& path,
                                                                             QString* error) {
    // Resumed only to write its stop: a store another program still writes refuses it.
    if (auto writer = store::StoreWriter::Resume(path, error)) {
        const qint64 stop = writer->LastTimeMs().value_or(writer->Header().StartMs);
        if (!writer->Header().StoppedMs) writer->Finish(stop);
    } else {
        return nullptr;
    }
    QFile::remove(m_markerPath);
    return store::StoredRecording::Open(path, error);
}

}  // namespace kr820::meter
