// SPDX-License-Identifier: MIT
// The text on the pages of a PDF written by Qt, for tests that print or export: each page's text
// drawing operations in the order they were drawn, one line per text block. It knows exactly as
// much PDF as Qt's writer uses (Flate-compressed content, Type0 fonts with ToUnicode maps).
#pragma once

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QtEndian>
#include <vector>

namespace kr820::testing {

struct PdfContent {
    QByteArray bytes;
    // Per page, its text blocks joined by newlines.
    std::vector<QString> pages;
};

namespace pdf_detail {

inline QByteArray ObjectBody(const QByteArray& pdf, int number) {
    const QByteArray head = QByteArray::number(number) + " 0 obj";
    qsizetype at = -1;
    for (qsizetype from = 0; (at = pdf.indexOf(head, from)) >= 0; from = at + 1) {
        if (at == 0 || pdf[at - 1] == '\n' || pdf[at - 1] == '\r') break;
    }
    if (at < 0) return {};
    const qsizetype end = pdf.indexOf("endobj", at);
    return pdf.mid(at + head.size(), end - at - head.size());
}

inline QByteArray StreamOf(const QByteArray& body) {
    qsizetype start = body.indexOf("stream");
    if (start < 0) return {};
    start += 6;
    if (body[start] == '\r') ++start;
    if (body[start] == '\n') ++start;
    QByteArray data = body.mid(start, body.lastIndexOf("endstream") - start);
    while (data.endsWith('\n') || data.endsWith('\r')) data.chop(1);
    if (!body.left(start).contains("/FlateDecode")) return data;
    // qUncompress wants the size it inflates to up front; a page of similar lines packs tighter
    // than any fixed guess, so the guess grows until it holds.
    for (quint32 ratio = 8; ratio <= 8192; ratio *= 4) {
        QByteArray sized(4, '\0');
        qToBigEndian<quint32>(quint32(data.size()) * ratio + 64, sized.data());
        const QByteArray inflated = qUncompress(sized + data);
        if (!inflated.isEmpty()) return inflated;
    }
    return {};
}

// Glyph code to text, from a ToUnicode map's ranges and single codes.
inline QHash<uint, QString> ToUnicodeMap(const QByteArray& cmap) {
    QHash<uint, QString> map;
    const auto hex = [](const QString& text) { return text.toUInt(nullptr, 16); };
    const auto unit = [&hex](const QString& text) { return QString(QChar(char16_t(hex(text)))); };
    static const QRegularExpression kRangeArray(
        R"(<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>\s*\[([^\]]*)\])");
    static const QRegularExpression kRangeStart(
        R"(<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>)");
    static const QRegularExpression kHex(R"(<([0-9A-Fa-f]+)>)");
    const QString text = QString::fromLatin1(cmap);
    for (qsizetype from = 0; (from = text.indexOf("beginbfrange", from)) >= 0;) {
        const qsizetype end = text.indexOf("endbfrange", from);
        const QString block = text.mid(from, end - from);
        for (auto it = kRangeArray.globalMatch(block); it.hasNext();) {
            const auto m = it.next();
            uint code = hex(m.captured(1));
            for (auto units = kHex.globalMatch(m.captured(3)); units.hasNext();)
                map[code++] = unit(units.next().captured(1));
        }
        QString withoutArrays = block;
        withoutArrays.remove(kRangeArray);
        for (auto it = kRangeStart.globalMatch(withoutArrays); it.hasNext();) {
            const auto m = it.next();
            const uint first = hex(m.captured(1)), last = hex(m.captured(2));
            for (uint code = first; code <= last; ++code)
                map[code] = QString(QChar(char16_t(hex(m.captured(3)) + code - first)));
        }
        from = end;
    }
    static const QRegularExpression kChar(R"(<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>)");
    for (qsizetype from = 0; (from = text.indexOf("beginbfchar", from)) >= 0;) {
        const qsizetype end = text.indexOf("endbfchar", from);
        for (auto it = kChar.globalMatch(text.mid(from, end - from)); it.hasNext();) {
            const auto m = it.next();
            map[hex(m.captured(1))] = unit(m.captured(2));
        }
        from = end;
    }
    return map;
}

}  // namespace pdf_detail

inline PdfContent ReadPdf(const QString& path) {
    using namespace pdf_detail;
    PdfContent content;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return content;
    content.bytes = file.readAll();
    const QByteArray& pdf = content.bytes;

    // Font resources by name ("/F7 7 0 R"), each with its ToUnicode map.
    QHash<QString, QHash<uint, QString>> fonts;
    static const QRegularExpression kFontRef(R"(/(F\d+)\s+(\d+)\s+0\s+R)");
    static const QRegularExpression kToUnicode(R"(/ToUnicode\s+(\d+)\s+0\s+R)");
    for (auto it = kFontRef.globalMatch(QString::fromLatin1(pdf)); it.hasNext();) {
        const auto m = it.next();
        const QByteArray font = ObjectBody(pdf, m.captured(2).toInt());
        const auto cmap = kToUnicode.match(QString::fromLatin1(font));
        if (cmap.hasMatch())
            fonts[m.captured(1)] = ToUnicodeMap(StreamOf(ObjectBody(pdf, cmap.captured(1).toInt())));
    }

    // The pages in order, and the text each one's content draws.
    static const QRegularExpression kKids(R"(/Type\s*/Pages\s*/Kids\s*\[([^\]]*)\])");
    static const QRegularExpression kRef(R"((\d+)\s+0\s+R)");
    static const QRegularExpression kContents(R"(/Contents\s+(\d+)\s+0\s+R)");
    static const QRegularExpression kToken(R"(/(F\d+)\s+[-\d.]+\s+Tf|<([0-9A-Fa-f]+)>\s*Tj|\bBT\b|\bET\b)");
    const auto kids = kKids.match(QString::fromLatin1(pdf));
    for (auto page = kRef.globalMatch(kids.captured(1)); page.hasNext();) {
        const QByteArray pageBody = ObjectBody(pdf, page.next().captured(1).toInt());
        const auto contents = kContents.match(QString::fromLatin1(pageBody));
        const QString stream =
            QString::fromLatin1(StreamOf(ObjectBody(pdf, contents.captured(1).toInt())));
        QStringList blocks;
        QString block, font;
        for (auto token = kToken.globalMatch(stream); token.hasNext();) {
            const auto t = token.next();
            if (!t.captured(1).isEmpty()) {
                font = t.captured(1);
            } else if (!t.captured(2).isEmpty()) {
                const QString glyphs = t.captured(2);
                for (qsizetype i = 0; i + 4 <= glyphs.size(); i += 4) {
                    QString unit = fonts.value(font).value(glyphs.mid(i, 4).toUInt(nullptr, 16));
                    block += unit == QLatin1String("\t") ? QStringLiteral(" ") : unit;
                }
            } else if (t.captured(0) == QLatin1String("ET")) {
                if (!block.isEmpty()) blocks << block;
                block.clear();
            }
        }
        content.pages.push_back(blocks.join(QLatin1Char('\n')));
    }
    return content;
}

}  // namespace kr820::testing
