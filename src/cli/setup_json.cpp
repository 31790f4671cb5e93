// SPDX-License-Identifier: MIT
#include "cli/setup_json.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QTime>
#include <optional>

#include "core/setup/setup_fields.h"

namespace kr820::cli {
namespace {

struct NumberField {
    const char* name;
    const char* unit;
};

// The fields that hold numbers; degrees are those the meter shows.
constexpr NumberField kNumberFields[] = {
    {"print-interval", "s"},   {"record-interval", "s"},      {"graph-inch", "in/h"},
    {"low-limit", "degree"},   {"scale-width", "degree"},     {"alarm-upper", "degree"},
    {"alarm-lower", "degree"}, {"memory-records", "records"}, {"memory-left", "records"},
};

// "00:01:00" as seconds; the meter's list also holds "00:60:00", an hour.
std::optional<double> Seconds(const QString& text) {
    const QStringList parts = text.split(u':');
    if (parts.size() != 3) return std::nullopt;
    double seconds = 0;
    for (const QString& part : parts) {
        bool ok = false;
        const int value = QLocale::c().toInt(part, &ok);
        if (!ok) return std::nullopt;
        seconds = seconds * 60 + value;
    }
    return seconds;
}

std::optional<double> Number(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok ? std::optional(value) : std::nullopt;
}

}  // namespace

QByteArray SetupJson(const core::MeterSetup& setup) {
    QJsonObject object;
    for (const QString& name : core::SetupFieldNames()) {
        const QString text = core::SetupFieldValue(setup, name);
        QJsonValue value = text;
        for (const NumberField& field : kNumberFields) {
            if (name != QLatin1String(field.name)) continue;
            const QString unit = QString::fromLatin1(field.unit);
            const std::optional<double> number =
                unit == QStringLiteral("s") ? Seconds(text) : Number(text);
            if (number)
                value =
                    QJsonObject{{QStringLiteral("value"), *number}, {QStringLiteral("unit"), unit}};
        }
        object.insert(name, value);
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

}  // namespace kr820::cli
