// SPDX-License-Identifier: MIT
#include "core/files/time_text_format.h"

#include <algorithm>

#include "core/files/format_tokens.h"

namespace kr820::core {
namespace {

// Up to `maxDigits` digits at `pos`; -1 when there is none.
int ReadNumber(QStringView text, qsizetype& pos, int maxDigits) {
    int value = 0;
    int digits = 0;
    while (pos < text.size() && digits < maxDigits) {
        const char16_t c = text[pos].unicode();
        // ASCII first: the digits of other scripts (which the locale may write) are rare.
        if (c >= u'0' && c <= u'9')
            value = value * 10 + (c - u'0');
        else if (text[pos].isDigit())
            value = value * 10 + text[pos].digitValue();
        else
            break;
        ++pos;
        ++digits;
    }
    return digits == 0 ? -1 : value;
}

bool StartsWithAt(QStringView text, qsizetype pos, const QString& word) {
    return !word.isEmpty() && text.mid(pos).startsWith(word, Qt::CaseInsensitive);
}

}  // namespace

std::optional<TimeTextFormat> TimeTextFormat::Compile(const QString& format,
                                                      const QLocale& locale) {
    TimeTextFormat reader;
    reader.m_am = locale.amText();
    reader.m_pm = locale.pmText();
    reader.m_amUpper = reader.m_am.toUpper().toUtf8();
    reader.m_amLower = reader.m_am.toLower().toUtf8();
    reader.m_pmUpper = reader.m_pm.toUpper().toUtf8();
    reader.m_pmLower = reader.m_pm.toLower().toUtf8();
    bool twelveHours = false;
    bool marker = false;
    const std::optional<std::vector<FormatToken>> tokens = TokenizeFormat(format);
    if (!tokens) return std::nullopt;
    for (std::size_t t = 0; t < tokens->size(); ++t) {
        const FormatToken& token = (*tokens)[t];
        if (token.IsQuoted()) {
            reader.m_sections.push_back({Kind::Literal, token.literal, 1, {}});
            continue;
        }
        const QChar c = token.character;
        const qsizetype run = token.run;
        if (c == u'H' || c == u'h') {
            twelveHours = c == u'h';
            reader.m_sections.push_back({twelveHours ? Kind::Hour12 : Kind::Hour24,
                                         {},
                                         int(std::min<qsizetype>(run, 2)),
                                         {}});
        } else if (c == u'm') {
            reader.m_sections.push_back({Kind::Minute, {}, int(std::min<qsizetype>(run, 2)), {}});
        } else if (c == u's') {
            reader.m_sections.push_back({Kind::Second, {}, int(std::min<qsizetype>(run, 2)), {}});
        } else if (c == u'z') {
            reader.m_sections.push_back({Kind::Millisecond, {}, int(run), {}});
        } else if (c == u'A' || c == u'a') {
            if (run > 2) return std::nullopt;
            marker = true;
            reader.m_sections.push_back({Kind::AmPm, {}, c == u'A' ? 2 : 1, {}});
            // "AP" and "ap" are one marker.
            if (run == 1 && t + 1 < tokens->size() &&
                ((*tokens)[t + 1].character == u'P' || (*tokens)[t + 1].character == u'p')) {
                if ((*tokens)[t + 1].run > 1) return std::nullopt;
                ++t;
            }
            continue;
        } else if (c.isLetter()) {
            return std::nullopt;  // names, time zones and the like: Qt reads those
        } else {
            reader.m_sections.push_back({Kind::Literal, QString(run, c), 1, {}});
        }
        if (run > 2 && c != u'z' && !c.isSpace() && c.isLetter()) return std::nullopt;
    }
    if (twelveHours != marker) return std::nullopt;  // "h" without AP counts as 24 hours in Qt
    for (Section& section : reader.m_sections) {
        section.literalUtf8 = section.literal.toUtf8();
        if (section.kind == Kind::AmPm)
            reader.m_maxBytes += std::max({reader.m_amUpper.size(), reader.m_amLower.size(),
                                           reader.m_pmUpper.size(), reader.m_pmLower.size()});
        else
            reader.m_maxBytes += std::max<qsizetype>(section.literalUtf8.size(), 2);
    }
    reader.m_writes = reader.WritesLikeTheLocale(format, locale);
    return reader;
}

bool TimeTextFormat::WritesLikeTheLocale(const QString& format, const QLocale& locale) const {
    // Digits other than ASCII, and milliseconds (whose short forms changed between Qt versions),
    // stay with the locale. The samples take every hour, one- and two-digit fields and both
    // halves of the day.
    if (locale.zeroDigit() != QStringLiteral("0")) return false;
    for (const Section& section : m_sections)
        if (section.kind == Kind::Millisecond) return false;
    for (int hour = 0; hour < 24; ++hour) {
        for (const QTime time : {QTime(hour, 0, 0), QTime(hour, 7, 45), QTime(hour, 59, 9)}) {
            QByteArray written(m_maxBytes, Qt::Uninitialized);
            written.truncate(Write(time, written.data()) - written.constData());
            if (QString::fromUtf8(written) != locale.toString(time, format)) return false;
        }
    }
    return true;
}

char* TimeTextFormat::Write(QTime time, char* out) const {
    const auto number = [&out](int value, int width) {
        if (width == 2 || value >= 10) *out++ = static_cast<char>('0' + value / 10);
        *out++ = static_cast<char>('0' + value % 10);
    };
    const auto bytes = [&out](const QByteArray& text) {
        std::copy(text.cbegin(), text.cend(), out);
        out += text.size();
    };
    const int seconds = time.msecsSinceStartOfDay() / 1000;
    const int hour = seconds / 3600;
    for (const Section& section : m_sections) {
        switch (section.kind) {
            case Kind::Hour24:
                number(hour, section.width);
                break;
            case Kind::Hour12:
                number(hour % 12 == 0 ? 12 : hour % 12, section.width);
                break;
            case Kind::Minute:
                number(seconds / 60 % 60, section.width);
                break;
            case Kind::Second:
                number(seconds % 60, section.width);
                break;
            case Kind::Millisecond:
                break;  // never written here: see WritesLikeTheLocale
            case Kind::AmPm:
                if (hour < 12)
                    bytes(section.width == 2 ? m_amUpper : m_amLower);
                else
                    bytes(section.width == 2 ? m_pmUpper : m_pmLower);
                break;
            case Kind::Literal:
                bytes(section.literalUtf8);
                break;
        }
    }
    return out;
}

QTime TimeTextFormat::Read(QStringView text) const {
    int hour = -1, minute = 0, second = 0, millisecond = 0;
    int pm = -1;
    qsizetype pos = 0;
    for (const Section& section : m_sections) {
        switch (section.kind) {
            case Kind::Hour24:
            case Kind::Hour12:
                hour = ReadNumber(text, pos, 2);
                if (hour < 0) return {};
                break;
            case Kind::Minute:
                if ((minute = ReadNumber(text, pos, 2)) < 0) return {};
                break;
            case Kind::Second:
                if ((second = ReadNumber(text, pos, 2)) < 0) return {};
                break;
            case Kind::Millisecond:
                if ((millisecond = ReadNumber(text, pos, 3)) < 0) return {};
                break;
            case Kind::AmPm:
                if (StartsWithAt(text, pos, m_am)) {
                    pm = 0;
                    pos += m_am.size();
                } else if (StartsWithAt(text, pos, m_pm)) {
                    pm = 1;
                    pos += m_pm.size();
                } else {
                    return {};
                }
                break;
            case Kind::Literal:
                if (text.size() - pos < section.literal.size() ||
                    text.sliced(pos, section.literal.size()) != section.literal)
                    return {};
                pos += section.literal.size();
                break;
        }
    }
    if (pos != text.size() || hour < 0) return {};
    if (pm >= 0) {
        if (hour < 1 || hour > 12) return {};
        hour = hour % 12 + (pm == 1 ? 12 : 0);
    }
    return QTime(hour, minute, second, millisecond);  // invalid when out of range
}

}  // namespace kr820::core
