// SPDX-License-Identifier: MIT
#include "core/setup/setup_fields.h"

#include <QLocale>
#include <functional>
#include <span>

#include "core/setup/setup_lists.h"
#include "core/setup/setup_texts.h"

namespace kr820::core {
namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

QString ListItem(std::span<const std::string_view> list, int index) {
    if (index < 0 || index >= static_cast<int>(list.size())) return QString::number(index);
    const std::string_view item = list[static_cast<std::size_t>(index)];
    return QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size())).trimmed();
}

std::optional<int> ListIndex(std::span<const std::string_view> list, const QString& value) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (ListItem(list, static_cast<int>(i)).compare(value.trimmed(), Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return std::nullopt;
}

QString Choices(std::span<const std::string_view> list) {
    QStringList items;
    for (std::size_t i = 0; i < list.size(); ++i) items << ListItem(list, static_cast<int>(i));
    return items.join(QStringLiteral(", "));
}

std::optional<QDateTime> TimeValue(const QString& text) {
    const QDateTime value = QDateTime::fromString(text.trimmed(), kTimeFormat);
    if (!value.isValid() || value.date().year() < kFirstMeterYear ||
        value.date().year() > kLastMeterYear)
        return std::nullopt;
    return value;
}

std::optional<bool> OnOff(const QString& text) {
    const QString word = text.trimmed().toLower();
    if (word == QStringLiteral("on")) return true;
    if (word == QStringLiteral("off")) return false;
    return std::nullopt;
}

QString OnOffText(bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); }

struct Field {
    QString name;
    std::function<QString(const MeterSetup&)> get;
    // Empty for a read-only field; otherwise returns the refusal, or nothing once set.
    std::function<std::optional<QString>(MeterSetup&, const QString&)> set;
};

Field TimeField(const char* name, QDateTime MeterSetup::*member) {
    return {QString::fromLatin1(name),
            [member](const MeterSetup& s) { return (s.*member).toString(kTimeFormat); },
            [member, name](MeterSetup& s, const QString& v) -> std::optional<QString> {
                const auto value = TimeValue(v);
                if (!value)
                    return QStringLiteral(
                               "%1: \"%2\" is no time between %3 and %4 "
                               "(write it as 2026-12-07T09:30:00).")
                        .arg(QString::fromLatin1(name), v)
                        .arg(kFirstMeterYear)
                        .arg(kLastMeterYear);
                s.*member = *value;
                return std::nullopt;
            }};
}

Field ListField(const char* name, int MeterSetup::*member, std::span<const std::string_view> list) {
    return {QString::fromLatin1(name),
            [member, list](const MeterSetup& s) { return ListItem(list, s.*member); },
            [member, list, name](MeterSetup& s, const QString& v) -> std::optional<QString> {
                const auto index = ListIndex(list, v);
                if (!index)
                    return QStringLiteral("%1: \"%2\" is none of %3.")
                        .arg(QString::fromLatin1(name), v, Choices(list));
                s.*member = *index;
                return std::nullopt;
            }};
}

Field SwitchField(const char* name, bool MeterSetup::*member) {
    return {QString::fromLatin1(name),
            [member](const MeterSetup& s) { return OnOffText(s.*member); },
            [member, name](MeterSetup& s, const QString& v) -> std::optional<QString> {
                const auto on = OnOff(v);
                if (!on)
                    return QStringLiteral("%1: \"%2\" is neither on nor off.")
                        .arg(QString::fromLatin1(name), v);
                s.*member = *on;
                return std::nullopt;
            }};
}

Field AlarmField(const char* name, const char* label, qint16 MeterSetup::*member) {
    return {QString::fromLatin1(name),
            [member](const MeterSetup& s) { return AlarmLimitText(s.*member, QLocale::c()); },
            [member, label](MeterSetup& s, const QString& v) -> std::optional<QString> {
                const auto tenths = AlarmLimitTenths(v, QLocale::c());
                if (!tenths) return AlarmLimitProblem(QString::fromLatin1(label), v, QLocale::c());
                s.*member = *tenths;
                return std::nullopt;
            }};
}

Field ReadOnly(const char* name, std::function<QString(const MeterSetup&)> get) {
    return {QString::fromLatin1(name), std::move(get), {}};
}

const std::vector<Field>& Fields() {
    static const std::vector<Field> fields = {
        {QStringLiteral("type"), [](const MeterSetup& s) { return s.TypeK ? "K" : "J"; },
         [](MeterSetup& s, const QString& v) -> std::optional<QString> {
             const QString type = v.trimmed().toUpper();
             if (type != QStringLiteral("K") && type != QStringLiteral("J"))
                 return QStringLiteral("type: \"%1\" is neither K nor J.").arg(v);
             s.TypeK = type == QStringLiteral("K");
             return std::nullopt;
         }},
        TimeField("print-start", &MeterSetup::PrintStart),
        TimeField("print-stop", &MeterSetup::PrintStop),
        ListField("print-interval", &MeterSetup::PrintIntervalIndex, kPrintIntervals),
        {QStringLiteral("print-mode"),
         [](const MeterSetup& s) { return ListItem(kPrintModes, s.GraphPrintMode ? 1 : 0); },
         [](MeterSetup& s, const QString& v) -> std::optional<QString> {
             const auto index = ListIndex(kPrintModes, v);
             if (!index)
                 return QStringLiteral("print-mode: \"%1\" is none of %2.")
                     .arg(v, Choices(kPrintModes));
             s.GraphPrintMode = *index == 1;
             return std::nullopt;
         }},
        ListField("graph-inch", &MeterSetup::GraphInchIndex, kGraphInchesPerHour),
        {QStringLiteral("low-limit"),
         [](const MeterSetup& s) { return QString::number(s.LowLimit); },
         [](MeterSetup& s, const QString& v) -> std::optional<QString> {
             const auto value = LowLimitValue(v);
             if (!value) return LowLimitProblem(v);
             s.LowLimit = *value;
             return std::nullopt;
         }},
        ListField("scale-width", &MeterSetup::ScaleWidthIndex, kScaleWidths),
        TimeField("record-start", &MeterSetup::RecordStart),
        TimeField("record-stop", &MeterSetup::RecordStop),
        ListField("record-interval", &MeterSetup::RecordIntervalIndex, kRecordIntervals),
        SwitchField("auto-power-off", &MeterSetup::AutoPowerOff),
        SwitchField("alarm", &MeterSetup::AlarmOn),
        AlarmField("alarm-upper", "Alarm Upper", &MeterSetup::AlarmUpperTenths),
        AlarmField("alarm-lower", "Alarm Lower", &MeterSetup::AlarmLowerTenths),
        ReadOnly("clock", [](const MeterSetup& s) { return s.MeterClock.toString(kTimeFormat); }),
        ReadOnly("memory-records",
                 [](const MeterSetup& s) { return QString::number(s.MemRecords); }),
        ReadOnly("memory-left", [](const MeterSetup& s) { return QString::number(s.MemLeft); }),
    };
    return fields;
}

const Field* FieldNamed(const QString& name) {
    for (const Field& field : Fields())
        if (field.name == name) return &field;
    return nullptr;
}

}  // namespace

QStringList SetupFieldNames() {
    QStringList names;
    for (const Field& field : Fields()) names << field.name;
    return names;
}

bool IsWritableSetupField(const QString& name) {
    const Field* field = FieldNamed(name);
    return field && field->set;
}

QString SetupFieldValue(const MeterSetup& setup, const QString& name) {
    const Field* field = FieldNamed(name);
    return field ? field->get(setup) : QString();
}

std::optional<QString> SetSetupField(MeterSetup& setup, const QString& name, const QString& value) {
    const Field* field = FieldNamed(name);
    if (!field)
        return QStringLiteral("\"%1\" is no setup field; the fields are %2.")
            .arg(name, SetupFieldNames().join(QStringLiteral(", ")));
    if (!field->set) return QStringLiteral("%1 is read only.").arg(name);
    MeterSetup changed = setup;
    if (auto problem = field->set(changed, value)) return problem;
    setup = changed;
    return std::nullopt;
}

}  // namespace kr820::core
