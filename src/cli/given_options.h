// SPDX-License-Identifier: MIT
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <vector>

#include "cli/command_table.h"

namespace kr820::cli {

// The options given to one command, asked for by their long names. An option the command does
// not take is never set (the parser would complain on stderr about a name it does not know).
class GivenOptions {
public:
    GivenOptions(const QCommandLineParser& parser, const std::vector<OptionRow>& options)
        : m_parser(parser), m_options(options) {}

    bool Set(const QString& longName) const { return Takes(longName) && m_parser.isSet(longName); }
    QString Value(const QString& longName) const {
        return Takes(longName) ? m_parser.value(longName) : QString();
    }
    // Every value of an option that may be given more than once, in order.
    QStringList Values(const QString& longName) const {
        return Takes(longName) ? m_parser.values(longName) : QStringList();
    }

private:
    bool Takes(const QString& longName) const {
        for (const OptionRow& option : m_options)
            if (option.LongName() == longName) return true;
        return false;
    }

    const QCommandLineParser& m_parser;
    const std::vector<OptionRow>& m_options;
};

}  // namespace kr820::cli
