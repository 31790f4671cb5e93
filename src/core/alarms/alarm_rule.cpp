// SPDX-License-Identifier: MIT
#include "core/alarms/alarm_rule.h"

#include <QRegularExpression>

namespace kr820::core {
namespace {

AlarmRuleError Refuse(QStringView text, const QString& why) {
    return {QStringLiteral("alarm \"%1\": %2").arg(VisibleRuleText(text), why)};
}

}  // namespace

QString VisibleRuleText(QStringView text) {
    QString shown;
    for (const QChar c : text) {
        if (c == u' ' || (c.isPrint() && !c.isSpace())) {
            shown += c;
        } else if (c == u'\t') {
            shown += QStringLiteral("\\t");
        } else if (c == u'\n') {
            shown += QStringLiteral("\\n");
        } else {
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        }
    }
    return shown;
}

AlarmRuleParse ParseAlarmRule(QStringView text) {
    QString plain;
    // Every kind of blank, no-break and em spaces too: one copied from a document looks the same.
    for (const QChar c : text) {
        if (!c.isSpace()) plain += c.toLower();
    }
    if (plain == u"probe") return AlarmRule{AlarmKind::ProbeFault, AlarmChannel::None, 0};
    if (plain == u"lost") return AlarmRule{AlarmKind::MeterLost, AlarmChannel::None, 0};

    // [0-9] rather than \d, which would take digits of other scripts that toDouble refuses.
    static const QRegularExpression kLimitRule(
        QStringLiteral("^t([12])([<>])([+-]?[0-9]+)(?:\\.([0-9]+))?$"));
    const QRegularExpressionMatch match = kLimitRule.match(plain);
    if (!match.hasMatch())
        return Refuse(text, QStringLiteral("give t1>LIMIT, t1<LIMIT, t2>LIMIT, t2<LIMIT, probe "
                                           "or lost"));
    const QString decimals = match.captured(4);
    if (decimals.size() > 1)
        return Refuse(text, QStringLiteral("the meter shows one decimal, the limit has more"));
    const QString number = match.captured(3) + (decimals.isEmpty() ? QString() : u'.' + decimals);
    bool ok = false;
    const double limit = number.toDouble(&ok);
    if (!ok) return Refuse(text, QStringLiteral("the limit is no number"));

    AlarmRule rule;
    rule.Kind = match.captured(2) == u">" ? AlarmKind::High : AlarmKind::Low;
    rule.Channel = match.captured(1) == u"1" ? AlarmChannel::T1 : AlarmChannel::T2;
    rule.Limit = limit;
    return rule;
}

void ApplyAlarmRule(const AlarmRule& rule, AlarmSettings& settings) {
    switch (rule.Kind) {
        case AlarmKind::High:
        case AlarmKind::Low: {
            ChannelAlarmSettings& channel = settings.Channel(rule.Channel);
            AlarmLimit& limit = rule.Kind == AlarmKind::High ? channel.High : channel.Low;
            limit.On = true;
            limit.Limit = rule.Limit;
            break;
        }
        case AlarmKind::ProbeFault:
            for (ChannelAlarmSettings& channel : settings.Channels) channel.ProbeFault = true;
            break;
        case AlarmKind::MeterLost:
            settings.MeterLost = true;
            break;
    }
}

}  // namespace kr820::core
