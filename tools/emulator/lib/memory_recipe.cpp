// SPDX-License-Identifier: MIT
#include "memory_recipe.h"

#include <utility>

#include "default_memory.h"
#include "emulator_numbers.h"

namespace kr820::emulator {
namespace {

constexpr std::size_t kPairsWithoutValues = 10;
constexpr std::int16_t kWaveCentreTenthsC = 250;

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

// YYYY-MM-DDTHH:MM:SS with a year the meter's two BCD digits can hold.
bool ParseStart(std::string_view text, StartTime* start) {
    constexpr std::string_view kShape = "dddd-dd-ddTdd:dd:dd";
    if (text.size() != kShape.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kShape[i] == 'd' ? !digit : text[i] != kShape[i]) return false;
    }
    const auto number = [&](std::size_t at, std::size_t length) {
        int value = 0;
        ParseInteger(text.substr(at, length), 0, 9999, &value);
        return value;
    };
    const StartTime parsed{number(0, 4),  number(5, 2),  number(8, 2),
                           number(11, 2), number(14, 2), number(17, 2)};
    if (parsed.year < 2000 || parsed.year > 2099) return false;
    *start = parsed;
    return true;
}

bool ParseSample(std::string_view text, std::int16_t* tenthsC) {
    if (text == "OL") {
        *tenthsC = kOverRangeTenthsC;
        return true;
    }
    if (text == "UL") {
        *tenthsC = kUnderRangeTenthsC;
        return true;
    }
    return ParseTenthsC(text, tenthsC);
}

bool ParseSet(std::string_view text, DataSet* set, std::string* error) {
    std::vector<std::int16_t> values;
    bool havePairs = false;
    int pairs = 0;
    for (const std::string_view field : Split(text, ',')) {
        const std::size_t equals = field.find('=');
        const std::string_view key = field.substr(0, equals);
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view{} : field.substr(equals + 1);
        const auto bad = [&](const char* what) {
            *error = std::string(what) + ": " + std::string(field);
            return false;
        };
        int number = 0;
        if (equals == std::string_view::npos) {
            return bad("not KEY=VALUE");
        } else if (key == "start") {
            if (!ParseStart(value, &set->start)) return bad("not a start 20YY-MM-DDTHH:MM:SS");
        } else if (key == "rate") {
            if (!ParseInteger(value, 0, 255, &number)) return bad("not a rate code 0..255");
            set->rateCode = static_cast<std::uint8_t>(number);
        } else if (key == "type") {
            if (value != "K" && value != "J") return bad("type is K or J");
            set->type = value == "J" ? Thermocouple::kJ : Thermocouple::kK;
        } else if (key == "unit") {
            if (value != "C" && value != "F") return bad("unit is C or F");
            set->unit = value == "F" ? TemperatureUnit::kFahrenheit : TemperatureUnit::kCelsius;
        } else if (key == "pairs") {
            if (!ParseInteger(value, 0, 0xFFFF, &pairs)) return bad("not a pair count 0..65535");
            havePairs = true;
        } else if (key == "values") {
            values.clear();
            for (const std::string_view sample : Split(value, '/')) {
                std::int16_t tenthsC = 0;
                if (!ParseSample(sample, &tenthsC)) return bad("not a sample (C, OL or UL)");
                values.push_back(tenthsC);
            }
        } else {
            return bad("unknown key");
        }
    }
    if (!havePairs) {
        pairs = values.empty() ? static_cast<int>(kPairsWithoutValues)
                               : static_cast<int>((values.size() + 1) / 2);
        if (pairs > 0xFFFF) {
            *error = "more than 65535 pairs of values";
            return false;
        }
    }
    const auto count = static_cast<std::size_t>(pairs);
    if (values.empty()) {
        set->pairs = WavePairs(count, kWaveCentreTenthsC);
        return true;
    }
    set->pairs.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        set->pairs[i].t1TenthsC = values[(2 * i) % values.size()];
        set->pairs[i].t2TenthsC = values[(2 * i + 1) % values.size()];
    }
    return true;
}

}  // namespace

bool ParseMemoryRecipe(std::string_view text, std::vector<DataSet>* sets, std::string* error) {
    if (text == "empty") {
        sets->clear();
        return true;
    }
    if (text == "default") {
        *sets = DefaultDataSets();
        return true;
    }
    std::vector<DataSet> parsed;
    for (const std::string_view setText : Split(text, ';')) {
        DataSet set;
        std::string reason;
        if (!ParseSet(setText, &set, &reason)) {
            *error = "data set " + std::to_string(parsed.size() + 1) + ": " + reason;
            return false;
        }
        parsed.push_back(std::move(set));
    }
    *sets = std::move(parsed);
    return true;
}

}  // namespace kr820::emulator
