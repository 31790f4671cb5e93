// SPDX-License-Identifier: MIT
#include "store/store_reader.h"

#include <QDateTime>
#include <QFileInfo>
#include <algorithm>

#include "store/block_codec.h"
#include "store/block_index_check.h"
#include "store/range_cover.h"
#include "store/store_opening.h"
#include "store/store_schema.h"

namespace kr820::store {

std::unique_ptr<StoreReader> StoreReader::Open(const QString& path, QString* error) {
    auto opening = OpenStoreForReading(path, error);
    if (!opening) return nullptr;
    std::unique_ptr<StoreReader> reader(new StoreReader(path, std::move(opening->Db)));
    if (!reader->TakeSnapshot(error)) return nullptr;
    reader->m_notice = reader->IncompleteNotice(*opening);
    return reader;
}

QString StoreReader::IncompleteNotice(const ReadOpening& opening) {
    if (Damaged()) {
        QStringList found;
        if (!m_badKey.isEmpty()) found << m_badKey;
        if (m_damage) found << m_damage->Detail;
        return DamagedShownMessage(m_path, found.join(QStringLiteral("; ")), m_tail.Count);
    }
    if (opening.FileAlone && opening.LogPresent) return UnreadLogMessage(m_path);
    // Not stopped, nobody writing and no log: a copy of the file alone, or a log lost. What its
    // writer added after the last checkpoint is not here.
    if (m_header.StoppedMs || opening.WriterAlive || opening.LogPresent) return {};
    qint64 lastMs = m_header.StartMs;
    if (m_tail.Count > 0) {
        if (const auto last = At(m_tail.Count - 1)) lastMs = last->TimeMs;
    }
    // The file changed last when it was copied (or folded in last): the readings of the time
    // between are missing. A day and more is no copy taken while it ran: no number then.
    constexpr qint64 kPlausibleSeconds = 86'400;
    const qint64 changedMs = QFileInfo(m_path).lastModified().toMSecsSinceEpoch();
    const qint64 seconds = std::max<qint64>(0, (changedMs - lastMs + 500) / 1000);
    return IncompleteStoreMessage(
        m_path, seconds < kPlausibleSeconds ? std::optional(seconds) : std::nullopt);
}

StoreReader::StoreReader(QString path, SqliteDb db)
    : m_path(std::move(path)),
      m_db(std::move(db)),
      m_blockQuery(m_db.Handle(), "SELECT first_ms, readings FROM blocks WHERE block = ?1"),
      m_blockAtTimeQuery(
          m_db.Handle(),
          "SELECT block FROM blocks WHERE first_ms >= ?1 AND block >= 0 AND block < ?2 "
          "ORDER BY first_ms, block LIMIT 1"),
      m_chunkQuery(m_db.Handle(),
                   "SELECT chunk, entries FROM envelopes WHERE level = ?1 AND chunk >= ?2 AND "
                   "chunk < ?3 ORDER BY chunk") {}

bool StoreReader::TakeSnapshot(QString* error) {
    SqliteStatement version(m_db.Handle(), "PRAGMA data_version");
    const qint64 dataVersion = version.Step() ? version.Int(0) : -1;
    version.Reset();
    if (dataVersion == m_dataVersion && dataVersion != -1) return true;

    // One read transaction: the header and the end as the writer left them at one commit.
    if (!m_db.Exec("BEGIN")) {
        if (error) *error = DamagedStoreMessage(m_path, m_db.Error());
        return false;
    }
    auto header = ReadHeader(m_db, m_path, error);
    std::optional<StoreTail> tail;
    QString detail;
    if (header) {
        // Checked once: blocks before the end of the last snapshot were checked then.
        if (!m_damage) {
            if (m_dataVersion == -1) m_badKey = BadBlockKey(m_db);
            m_damage = CheckBlockIndex(m_db, m_tail.OpenBlock());
        }
        std::optional<TailDamage> damage;
        tail = LoadTail(m_db, &detail,
                        m_damage ? std::optional(m_damage->FirstBadBlock) : std::nullopt, &damage);
        // A row of the end that does not read ends the readings before what it covers, as a
        // hole would; the rows before it may be damaged too, each try ends earlier.
        for (int tries = 0; !tail && damage && tries < 4; ++tries) {
            const qint64 end = damage->EndBlock;
            m_damage = IndexDamage{end, damage->Block ? BlockDamage(end, true) : damage->Detail};
            damage.reset();
            tail = LoadTail(m_db, &detail, end, &damage);
            if (damage && damage->EndBlock >= end) break;
        }
    }
    m_db.Exec("COMMIT");
    if (!header) return false;
    if (!tail) {
        if (error) *error = DamagedStoreMessage(m_path, detail);
        return false;
    }
    m_header = *header;
    m_tail = std::move(*tail);
    if (m_cachedBlock == m_tail.OpenBlock()) m_cachedBlock = -1;
    m_dataVersion = dataVersion;
    return true;
}

bool StoreReader::Refresh() {
    const qint64 count = m_tail.Count;
    const StoreHeader header = m_header;
    QString error;
    if (!TakeSnapshot(&error)) return Fail(error);
    return m_tail.Count != count || m_header != header;
}

bool StoreReader::Fail(const QString& detail) {
    m_failure = detail;
    return false;
}

const std::vector<StoredReading>* StoreReader::BlockReadings(qint64 block) {
    if (block == m_tail.OpenBlock() && m_tail.OpenBlockSize() != 0) return &m_tail.Open;
    if (block == m_cachedBlock) return &m_cache;
    m_blockQuery.Bind(1, block);
    std::optional<std::vector<StoredReading>> readings;
    bool checksumFailed = false;
    if (m_blockQuery.Step()) {
        readings = DecodeStoredBlock(m_tail.Format, m_blockQuery.Blob(1), block,
                                     m_blockQuery.Int(0), &checksumFailed);
    }
    m_blockQuery.Reset();
    if (!readings || readings->size() != size_t(kBlockReadings)) {
        Fail(DamagedStoreMessage(m_path, BlockDamage(block, checksumFailed)));
        return nullptr;
    }
    m_cache = std::move(*readings);
    m_cachedBlock = block;
    return &m_cache;
}

QString StoreReader::BlockDamage(qint64 block, bool checksumFailed) {
    // The block's times as the index has them: from its start to the next block's.
    const auto timeOf = [&](qint64 number) -> std::optional<qint64> {
        SqliteStatement select(m_db.Handle(), "SELECT first_ms FROM blocks WHERE block = ?1");
        select.Bind(1, number);
        if (!select.Step() || !TimeInRange(select.Int(0))) return std::nullopt;
        return select.Int(0);
    };
    const auto text = [](std::optional<qint64> ms) {
        return ms ? QDateTime::fromMSecsSinceEpoch(*ms, Qt::UTC).toString(Qt::ISODate)
                  : QStringLiteral("?");
    };
    const QString what =
        checksumFailed ? QStringLiteral("fails its checksum") : QStringLiteral("does not read");
    return QStringLiteral("block %1 (readings %2 to %3, %4 to %5) %6; its readings are not shown")
        .arg(block)
        .arg(block * kBlockReadings + 1)
        .arg((block + 1) * kBlockReadings)
        .arg(text(timeOf(block)), text(timeOf(block + 1)), what);
}

std::optional<StoredReading> StoreReader::At(qint64 index) {
    if (index < 0 || index >= m_tail.Count) return std::nullopt;
    const auto* readings = BlockReadings(index / kBlockReadings);
    if (!readings) return std::nullopt;
    return (*readings)[size_t(index % kBlockReadings)];
}

qint64 StoreReader::LowerBound(qint64 timeMs) {
    const qint64 count = m_tail.Count;
    if (count == 0) return 0;
    const qint64 blocks = (count + kBlockReadings - 1) / kBlockReadings;
    // Times never go back, so the answer is in the block before the first that starts at or
    // after the time, or at that block's start.
    m_blockAtTimeQuery.Bind(1, timeMs).Bind(2, blocks);
    // Bounded, whatever the file says: a damaged index must not lead outside the readings.
    const qint64 after = std::clamp<qint64>(
        m_blockAtTimeQuery.Step() ? m_blockAtTimeQuery.Int(0) : blocks, 0, blocks);
    m_blockAtTimeQuery.Reset();
    if (after == 0) return 0;
    const qint64 block = after - 1;
    const auto* readings = BlockReadings(block);
    if (!readings) return std::min(count, after * kBlockReadings);
    const auto it = std::lower_bound(
        readings->begin(), readings->end(), timeMs,
        [](const StoredReading& reading, qint64 time) { return reading.TimeMs < time; });
    return std::min(count, block * kBlockReadings + qint64(it - readings->begin()));
}

std::optional<qint64> StoreReader::Nearest(qint64 timeMs) {
    if (m_tail.Count == 0) return std::nullopt;
    const qint64 after = LowerBound(timeMs);
    if (after == 0) return 0;
    if (after == m_tail.Count) return after - 1;
    const auto before = At(after - 1);
    const auto next = At(after);
    if (!before || !next) return std::nullopt;
    // In doubles: a damaged time may lie far from the one asked for.
    return double(timeMs) - double(before->TimeMs) <= double(next->TimeMs) - double(timeMs)
               ? after - 1
               : after;
}

bool StoreReader::ForEach(qint64 first, qint64 end,
                          const std::function<bool(qint64, const StoredReading&)>& visit) {
    end = std::min(end, m_tail.Count);
    for (qint64 index = std::max<qint64>(first, 0); index < end;) {
        const auto* readings = BlockReadings(index / kBlockReadings);
        if (!readings) return false;
        const qint64 blockEnd = std::min(end, (index / kBlockReadings + 1) * kBlockReadings);
        for (; index < blockEnd; ++index) {
            if (!visit(index, (*readings)[size_t(index % kBlockReadings)])) return true;
        }
    }
    return true;
}

std::optional<std::vector<Envelope>> StoreReader::Entries(int level, qint64 first, qint64 end) {
    if (level < 1 || level > kTopLevel) return std::nullopt;
    const qint64 available = (m_tail.Count + ReadingsPerEntry(level) - 1) / ReadingsPerEntry(level);
    end = std::min(end, available);
    first = std::max<qint64>(first, 0);
    std::vector<Envelope> entries;
    if (first >= end) return entries;
    entries.reserve(size_t(end - first));
    const qint64 pendingFrom = m_tail.StoredChunks(level) * kFanOut;
    if (first < pendingFrom) {
        const qint64 storedEnd = std::min(end, pendingFrom);
        const auto take = [&](qint64 chunkIndex, const std::vector<Envelope>& chunk) {
            const qint64 chunkFirst = chunkIndex * kFanOut;
            for (qint64 i = std::max(first, chunkFirst);
                 i < std::min(storedEnd, chunkFirst + kFanOut); ++i) {
                entries.push_back(chunk[size_t(i - chunkFirst)]);
            }
        };
        const qint64 chunkEnd = (storedEnd + kFanOut - 1) / kFanOut;
        if (!m_tail.StoresLevel(level)) {
            // A level-1 chunk of format 3 is its block's readings, 16 to an entry.
            for (qint64 block = first / kFanOut; block < chunkEnd; ++block) {
                const auto* readings = BlockReadings(block);
                if (!readings) return std::nullopt;
                std::vector<Envelope> chunk;
                for (size_t i = 0; i < readings->size(); i += kFanOut) {
                    chunk.push_back(EnvelopeOf(std::span(*readings).subspan(i, kFanOut)));
                }
                take(block, chunk);
            }
        } else {
            m_chunkQuery.Bind(1, qint64(level)).Bind(2, first / kFanOut).Bind(3, chunkEnd);
            qint64 expected = first / kFanOut;
            bool damaged = false;
            while (m_chunkQuery.Step()) {
                const auto chunk =
                    m_chunkQuery.Int(0) == expected
                        ? DecodeChunk(m_tail.Format, m_chunkQuery.Blob(1), level, expected)
                        : std::nullopt;
                if (!chunk || chunk->size() != size_t(kFanOut)) {
                    damaged = true;
                    break;
                }
                take(expected, *chunk);
                ++expected;
            }
            m_chunkQuery.Reset();
            if (damaged || entries.size() != size_t(storedEnd - first)) {
                Fail(DamagedStoreMessage(
                    m_path, QStringLiteral("the envelope rows of level %1 from %2 on do not read "
                                           "(they fail their checksum or are missing)")
                                .arg(level)
                                .arg(expected)));
                return std::nullopt;
            }
        }
    }
    const auto& pending = m_tail.Pending[level];
    for (qint64 i = std::max(first, pendingFrom); i < end; ++i) {
        entries.push_back(pending[size_t(i - pendingFrom)]);
    }
    return entries;
}

namespace {

// Calls `take` with the envelope of every run of a cover, in order.
template <typename Take>
bool VisitCover(StoreReader& reader, const std::vector<CoverRun>& runs, Take&& take) {
    for (const auto& run : runs) {
        if (run.Level == 0) {
            const bool ok = reader.ForEach(run.First, run.End, [&](qint64, const StoredReading& r) {
                Envelope single;
                single.Take(r);
                take(single);
                return true;
            });
            if (!ok) return false;
            continue;
        }
        const auto entries = reader.Entries(run.Level, run.First, run.End);
        if (!entries) return false;
        for (const auto& entry : *entries) take(entry);
    }
    return true;
}

}  // namespace

std::optional<Envelope> StoreReader::Summarize(qint64 first, qint64 end) {
    Envelope total;
    end = std::min(end, m_tail.Count);
    first = std::max<qint64>(first, 0);
    if (first >= end) return total;
    if (!VisitCover(*this, CoverRange(first, end, kTopLevel),
                    [&](const Envelope& entry) { total.Merge(entry); })) {
        return std::nullopt;
    }
    return total;
}

std::optional<DrawPlan> StoreReader::Draw(qint64 fromMs, qint64 toMs, int pixels) {
    DrawPlan plan;
    if (toMs < fromMs || pixels <= 0) return plan;
    plan.FirstIndex = LowerBound(fromMs);
    plan.EndIndex =
        toMs == std::numeric_limits<qint64>::max() ? m_tail.Count : LowerBound(toMs + 1);
    // Times of a damaged store may go back: never a range that ends before it starts.
    plan.EndIndex = std::max(plan.EndIndex, plan.FirstIndex);
    plan.DrawsPoints = DrawsPoints(plan.EndIndex - plan.FirstIndex, pixels);
    plan.Level = plan.DrawsPoints ? 0 : DrawLevel(plan.EndIndex - plan.FirstIndex, pixels);
    if (plan.DrawsPoints) {
        const qint64 first = std::max<qint64>(plan.FirstIndex - 1, 0);
        const qint64 end = std::min(plan.EndIndex + 1, m_tail.Count);
        plan.Points.reserve(size_t(end - first));
        if (!ForEach(first, end, [&](qint64, const StoredReading& r) {
                plan.Points.push_back(r);
                return true;
            })) {
            return std::nullopt;
        }
        return plan;
    }
    const double scale = double(pixels) / (double(toMs) - double(fromMs) + 1.0);
    const auto take = [&](const Envelope& entry) {
        // Clamped before it becomes an int: a damaged entry may hold any time.
        const int pixel = int(
            std::clamp((double(entry.FirstMs) - double(fromMs)) * scale, 0.0, double(pixels - 1)));
        if (plan.Columns.empty() || plan.Columns.back().Pixel != pixel) {
            plan.Columns.push_back({pixel, entry});
        } else {
            plan.Columns.back().Span.Merge(entry);
        }
    };
    if (!VisitCover(*this, CoverRange(plan.FirstIndex, plan.EndIndex, plan.Level), take)) {
        return std::nullopt;
    }
    return plan;
}

namespace {

std::vector<Gap> SelectGaps(SqliteDb& db, const char* sql) {
    std::vector<Gap> gaps;
    SqliteStatement select(db.Handle(), sql);
    select.Bind(1, qint64(GapCause::ClockSetBack));
    while (select.Step()) {
        Gap gap;
        gap.FromMs = select.Int(0);
        if (!select.IsNull(1)) gap.ToMs = select.Int(1);
        gap.Cause = static_cast<GapCause>(select.Int(2));
        gaps.push_back(gap);
    }
    return gaps;
}

}  // namespace

std::vector<Gap> StoreReader::Gaps() {
    return SelectGaps(
        m_db, "SELECT from_ms, to_ms, cause FROM gaps WHERE cause <> ?1 ORDER BY from_ms, rowid");
}

std::vector<Gap> StoreReader::ClockSteps() {
    return SelectGaps(m_db,
                      "SELECT from_ms, to_ms, cause FROM gaps WHERE cause = ?1 ORDER BY rowid");
}

std::vector<Gap> StoreReader::GapsAsMarked() {
    return SelectGaps(m_db, "SELECT from_ms, to_ms, cause FROM gaps WHERE ?1 = ?1 ORDER BY rowid");
}

std::vector<AlarmMark> StoreReader::AlarmMarks(qint64 fromMs, qint64 toMs) {
    std::vector<AlarmMark> marks;
    SqliteStatement select(m_db.Handle(),
                           "SELECT time_ms, channel, kind, change, value, limit_value FROM "
                           "alarm_marks WHERE time_ms BETWEEN ?1 AND ?2 ORDER BY time_ms, rowid");
    select.Bind(1, fromMs).Bind(2, toMs);
    while (select.Step()) {
        AlarmMark mark;
        mark.TimeMs = select.Int(0);
        mark.Channel = int(select.Int(1));
        mark.Kind = int(select.Int(2));
        mark.Change = static_cast<AlarmMarkChange>(select.Int(3));
        if (!select.IsNull(4)) mark.Value = select.Real(4);
        if (!select.IsNull(5)) mark.Limit = select.Real(5);
        marks.push_back(mark);
    }
    return marks;
}

std::optional<StoredReading> ReadingCursor::Next() {
    if (m_next >= m_end) return std::nullopt;
    auto reading = m_reader.At(m_next);
    if (reading) ++m_next;
    return reading;
}

}  // namespace kr820::store
