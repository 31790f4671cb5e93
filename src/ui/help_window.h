// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QTextBrowser;

namespace kr820::ui {

// The program's own help window: the help page in a text browser that follows its links, with a
// search box, so that help works where no web browser is installed. A missing page is said in
// the window itself.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    HelpWindow(const QString& pagePath, QWidget* owner);

    QTextBrowser* Browser() const { return m_browser; }
    QLineEdit* SearchBox() const { return m_search; }
    // Finds the search box's text after (or before) the cursor, from the top (or the end) again
    // when it runs out; false when the page does not hold it.
    bool FindNext(bool backwards = false);

private:
    QTextBrowser* m_browser;
    QLineEdit* m_search;
    QLabel* m_notFound;
};

}  // namespace kr820::ui
