// SPDX-License-Identifier: MIT
#include "cli/cli_log.h"

namespace kr820::cli {

Q_LOGGING_CATEGORY(lcCli, "kr820.cli", QtWarningMsg)
Q_LOGGING_CATEGORY(lcServe, "kr820.serve")

namespace {

QStringList LogRules(int verbosity) {
    // Port failures the link survives are logged for the desktop's diagnosis; here each command
    // says what went wrong in a line of its own, so they are shown only when asked for.
    QStringList rules{QStringLiteral("kr820.*.debug=false"), QStringLiteral("kr820.*.info=false")};
    if (verbosity <= 1) rules << QStringLiteral("kr820.link.warning=false");
    if (verbosity == 0) rules << QStringLiteral("kr820.*.warning=false");
    if (verbosity >= 2) rules << QStringLiteral("kr820.*.info=true");
    if (verbosity >= 3) rules << QStringLiteral("kr820.link.debug=true");
    return rules;
}

}  // namespace

void ApplyLogRules(int verbosity) {
    QLoggingCategory::setFilterRules(LogRules(verbosity).join(u'\n'));
}

void ApplyServeLogRules(int verbosity) {
    QStringList rules = LogRules(verbosity);
    // A service's warnings are its trouble report: -q hides what it tells, never those.
    rules << QStringLiteral("kr820.serve.warning=true")
          << QStringLiteral("kr820.feeds.warning=true");
    if (verbosity >= 1)
        rules << QStringLiteral("kr820.serve.info=true") << QStringLiteral("kr820.feeds.info=true");
    QLoggingCategory::setFilterRules(rules.join(u'\n'));
}

}  // namespace kr820::cli
