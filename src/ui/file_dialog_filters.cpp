// SPDX-License-Identifier: MIT
#include "ui/file_dialog_filters.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace kr820::ui {

QString SuffixOfNameFilter(const QString& nameFilter) {
    // The patterns are the last parenthesised part; descriptions may hold parentheses too.
    static const QRegularExpression kPatterns(QStringLiteral(R"(\(([^()]*)\)\s*$)"));
    static const QRegularExpression kFirstSuffix(QStringLiteral(R"(\*\.([^\s*?]+))"));
    const QRegularExpressionMatch patterns = kPatterns.match(nameFilter);
    if (!patterns.hasMatch()) return {};
    const QRegularExpressionMatch suffix = kFirstSuffix.match(patterns.captured(1));
    return suffix.hasMatch() ? suffix.captured(1) : QString();
}

void PrepareFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (dialog.acceptMode() != QFileDialog::AcceptSave) return;
    // The dialog names the picked type by the text it shows, its description alone.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& shown) {
                         for (const QString& filter : dialog.nameFilters()) {
                             if (filter == shown || filter.startsWith(shown + u' ')) {
                                 dialog.setDefaultSuffix(SuffixOfNameFilter(filter));
                                 return;
                             }
                         }
                     });
}

}  // namespace kr820::ui
