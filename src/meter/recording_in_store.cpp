// SPDX-License-Identifier: MIT
#include "meter/recording_in_store.h"

#include <QCollator>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "core/logging/log_categories.h"
#include "store/recording_writer.h"
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

RecordingInStore::RecordingInStore(QString markerPath) : m_markerPath(std::move(markerPath)) {}

RecordingInStore::~RecordingInStore() = default;

QStringList RecordingInStore::MarkerPaths() const {
    const QFileInfo first(m_markerPath);
    const QDir dir = first.dir();
    QStringList names = dir.entryList(
        {first.completeBaseName() + QStringLiteral(".*.") + first.suffix()}, QDir::Files);
    QCollator numeric;
    numeric.setNumericMode(true);
    std::sort(names.begin(), names.end(), numeric);
    QStringList paths;
    if (first.exists()) paths << m_markerPath;
    for (const QString& name : names) paths << dir.filePath(name);
    return paths;
}

QString RecordingInStore::FreeMarkerPath() const {
    const QFileInfo first(m_markerPath);
    QString path = m_markerPath;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = first.dir().filePath(
            QStringLiteral("%1.%2.%3").arg(first.completeBaseName()).arg(n).arg(first.suffix()));
    return path;
}

bool RecordingInStore::Begin(const QString& folder, const store::StoreHeader& header,
                             QString* error) {
    Release();
    // Absolute: the marker must name it from wherever the program starts next.
    const QString absolute = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (!QDir().mkpath(absolute)) {
        *error = QStringLiteral("the folder \"%1\" cannot be made").arg(absolute);
        return false;
    }
    const QString path = NewStorePath(absolute, header.StartMs);
    m_writer = store::RecordingWriter::Open(path, header, error);
    if (!m_writer) return false;
    m_fixedLength = header.PointsAsked.has_value();
    // Only a recording until stopped is shown from its store.
    if (!m_fixedLength) {
        m_recording = store::StoredRecording::Open(path, error);
        if (!m_recording) {
            m_writer.reset();
            QFile::remove(path);
            return false;
        }
    }
    m_storePath = path;
    // Named before the first reading: a crash from here on leaves a store to offer.
    m_heldMarker = FreeMarkerPath();
    QSaveFile marker(m_heldMarker);
    if (!marker.open(QIODevice::WriteOnly) || marker.write(path.toUtf8()) < 0 || !marker.commit()) {
        qCWarning(core::lcRealTime).noquote()
            << "the marker" << m_heldMarker << "of the recording" << path << "was not written";
    }
    return true;
}

bool RecordingInStore::Append(const store::StoredReading& reading,
                              const core::AlarmEngine* alarms) {
    if (!m_writer || !m_writer->Append(reading, alarms)) return false;
    if (m_recording) m_recording->Refresh();
    return true;
}

bool RecordingInStore::Mark(const core::AlarmEvent& event) {
    return m_writer && m_writer->Mark(event);
}

bool RecordingInStore::LinkLost(qint64 atMs) { return m_writer && m_writer->LinkLost(atMs); }

bool RecordingInStore::LinkRestored(qint64 atMs) {
    return m_writer && m_writer->LinkRestored(atMs);
}

QString RecordingInStore::FailureReason() const {
    return m_writer ? m_writer->FailureReason() : QString();
}

void RecordingInStore::Stop(qint64 stoppedMs) {
    if (!m_writer) return;
    if (!m_writer->Failed() && !m_writer->Finish(stoppedMs)) {
        qCWarning(core::lcRealTime).noquote()
            << "the stop of" << Path() << "was not written:" << m_writer->FailureReason();
    }
    m_writer.reset();
    if (m_recording) m_recording->Refresh();
    if (m_fixedLength) return;  // kept against a crash until its points are saved or given up
    QFile::remove(m_heldMarker);
    m_heldMarker.clear();
}

void RecordingInStore::Discard() {
    if (!m_fixedLength) return;
    m_writer.reset();
    if (!m_storePath.isEmpty()) RemoveLeftOver({m_heldMarker, m_storePath});
    Release();
}

void RecordingInStore::TakeUp(const LeftOverStore& left) {
    Release();
    m_heldMarker = left.Marker;
    m_storePath = left.Store;
    m_fixedLength = true;
}

void RecordingInStore::Release() {
    m_writer.reset();
    m_recording.reset();
    m_heldMarker.clear();
    m_storePath.clear();
    m_fixedLength = false;
}

std::vector<LeftOverStore> RecordingInStore::LeftOverStores() const {
    std::vector<LeftOverStore> left;
    for (const QString& markerPath : MarkerPaths()) {
        if (markerPath == m_heldMarker) continue;
        QFile marker(markerPath);
        if (!marker.open(QIODevice::ReadOnly)) continue;
        const QString path = QString::fromUtf8(marker.readAll()).trimmed();
        marker.close();
        if (path.isEmpty() || !QFileInfo::exists(path)) {
            qCWarning(core::lcRealTime).noquote()
                << "the marker" << markerPath << "names no store (" << path << ") and was removed";
            QFile::remove(markerPath);
            continue;
        }
        left.push_back({markerPath, path});
    }
    return left;
}

bool RecordingInStore::StopLeftOver(const LeftOverStore& left, QString* error) {
    // Resumed only to write its stop: a store another program still writes refuses it.
    auto writer = store::StoreWriter::Resume(left.Store, error);
    if (!writer) return false;
    const qint64 stop = writer->LastTimeMs().value_or(writer->Header().StartMs);
    if (!writer->Header().StoppedMs && !writer->Finish(stop)) {
        *error = writer->FailureReason();
        return false;
    }
    return true;
}

void RecordingInStore::ForgetLeftOver(const LeftOverStore& left) { QFile::remove(left.Marker); }

void RecordingInStore::RemoveLeftOver(const LeftOverStore& left) {
    // The store first: a marker naming no store is forgotten at the next start.
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(left.Store + suffix);
    if (!left.Marker.isEmpty()) QFile::remove(left.Marker);
}

}  // namespace kr820::meter
