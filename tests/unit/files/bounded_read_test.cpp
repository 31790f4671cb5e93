// SPDX-License-Identifier: MIT
// Files are read no further than the largest content they can hold: a length prefix beyond any
// chart, a pipe or a device that never ends are refused without reading them whole.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QtEndian>
#include <atomic>
#include <csignal>
#include <thread>

#include "core/chart/chart_model.h"
#include "core/data/data_set_store.h"
#include "core/files/collection_file.h"
#include "core/files/graph_file.h"
#include "file_test_support.h"

namespace kr820::core {
namespace {

QByteArray LengthPrefix(quint32 length) {
    QByteArray prefix(4, '\0');
    qToLittleEndian(length, prefix.data());
    return prefix;
}

// A FIFO fed from a thread with `head`, then with zeros until the reader closes its end or
// `limit` bytes went in.
class FedFifo {
public:
    FedFifo(const QString& path, QByteArray head, qint64 limit)
        : m_path(path.toLocal8Bit()), m_previous(std::signal(SIGPIPE, SIG_IGN)) {
        EXPECT_EQ(::mkfifo(m_path.constData(), 0600), 0);
        m_writer = std::thread([this, head = std::move(head), limit] {
            const int fd = ::open(m_path.constData(), O_WRONLY);
            if (fd < 0) return;
            const auto put = [this, fd](const QByteArray& bytes) {
                const ssize_t n = ::write(fd, bytes.constData(), bytes.size());
                if (n > 0) m_fed += n;
                return n == bytes.size();  // false once the reader is gone
            };
            const QByteArray zeros(64 * 1024, '\0');
            if (put(head)) {
                while (m_fed < limit && put(zeros)) {
                }
            }
            ::close(fd);
        });
    }
    ~FedFifo() { Finish(); }

    // Waits for the writer (opening the reading end once, should nobody have) and tells how
    // many bytes went into the pipe: what the reader took, plus at most the pipe's buffer.
    qint64 Finish() {
        if (m_writer.joinable()) {
            const int unblock = ::open(m_path.constData(), O_RDONLY | O_NONBLOCK);
            if (unblock >= 0) ::close(unblock);
            m_writer.join();
            std::signal(SIGPIPE, m_previous);
        }
        return m_fed;
    }

private:
    QByteArray m_path;
    void (*m_previous)(int);
    std::atomic<qint64> m_fed = 0;
    std::thread m_writer;
};

class BoundedRead : public testing::ScratchFolder {
protected:
    // Bytes a pipe may hold beyond what its reader took.
    static constexpr qint64 kPipeSlack = 1024 * 1024;
};

TEST_F(BoundedRead, ACollectionFromAPipeIsRefusedOneBytePastTheCap) {
    FedFifo fifo(PathOf("pipe.820"), {}, 8 * kMaxCollectionFileBytes);
    TDataSetStore store;
    const CollectionOpenOutcome outcome = OpenCollection(PathOf("pipe.820"), store);
    EXPECT_EQ(outcome.Status, CollectionOpenStatus::TooLarge);
    EXPECT_TRUE(outcome.Image.isEmpty());
    EXPECT_LT(fifo.Finish(), kMaxCollectionFileBytes + kPipeSlack);
}

TEST_F(BoundedRead, AGraphFileLongerThanAnyChartIsRefusedBeforeItsBlockIsRead) {
    ChartModel chart;
    const ChartState before = chart.State();
    const quint32 twoGigabytes = 0x80000000u;
    ASSERT_GT(qint64{twoGigabytes}, kMaxChartBlockBytes);

    FedFifo fifo(PathOf("pipe.ghf"), LengthPrefix(twoGigabytes), 8 * kMaxCollectionFileBytes);
    EXPECT_EQ(ReadGraphFile(PathOf("pipe.ghf"), chart).Status, GraphReadStatus::StreamReadError);
    EXPECT_LT(fifo.Finish(), kPipeSlack);

    // A sparse file as long as its prefix says: the size agrees, the length is still refused.
    testing::WriteWhole(PathOf("sparse.ghf"), LengthPrefix(twoGigabytes - 4));
    QFile sparse(PathOf("sparse.ghf"));
    ASSERT_TRUE(sparse.resize(twoGigabytes));
    EXPECT_EQ(ReadGraphFile(PathOf("sparse.ghf"), chart).Status, GraphReadStatus::StreamReadError);
    EXPECT_TRUE(chart.State() == before);
}

TEST_F(BoundedRead, AGraphFileFromAPipeLoadsWhenWholeAndIsRefusedWithBytesAfterIt) {
    ChartModel saved;
    saved.Data().SetSubsets(2);
    saved.Data().SetPoints(3);
    saved.Data().SetXDataII(0, 1, 46000.25);
    const QByteArray block = saved.SaveToBlock();
    const QByteArray file = LengthPrefix(quint32(block.size())) + block;

    FedFifo whole(PathOf("whole.ghf"), file, file.size());
    ChartModel loaded;
    EXPECT_EQ(ReadGraphFile(PathOf("whole.ghf"), loaded).Status, GraphReadStatus::Loaded);
    EXPECT_TRUE(loaded.State() == saved.State());

    FedFifo longer(PathOf("longer.ghf"), file, file.size() + 1);
    EXPECT_EQ(ReadGraphFile(PathOf("longer.ghf"), loaded).Status, GraphReadStatus::Damaged);
}

}  // namespace
}  // namespace kr820::core
