// SPDX-License-Identifier: MIT
#include "cli/standard_input.h"

#include <QFile>
#include <QtEndian>

namespace kr820::cli {
namespace {

// How much of the start tells text from binary.
constexpr qsizetype kSniffBytes = 4096;

QString SuffixOf(const QByteArray& bytes) {
    if (bytes.size() >= 4 &&
        qFromLittleEndian<quint32>(bytes.constData()) == static_cast<quint32>(bytes.size() - 4))
        return QStringLiteral("ghf");
    const QByteArray start = bytes.left(kSniffBytes);
    for (const char c : start) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0x7f)
            return QStringLiteral("820");
    }
    const QByteArray firstLine = start.left(start.indexOf('\n'));
    return firstLine.contains('\t') ? QStringLiteral("txt") : QStringLiteral("csv");
}

}  // namespace

bool StdinFile::Take(QIODevice* in, QString& problem) {
    if (!in || !in->isReadable()) {
        problem = QStringLiteral("standard input is closed");
        return false;
    }
    const QByteArray bytes = in->readAll();
    if (!m_folder.isValid()) {
        problem = m_folder.errorString();
        return false;
    }
    m_path = m_folder.filePath(QStringLiteral("stdin.") + SuffixOf(bytes));
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        problem = file.errorString();
        return false;
    }
    return true;
}

}  // namespace kr820::cli
