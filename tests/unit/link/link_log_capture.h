// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QStringList>
#include <QtGlobal>

namespace kr820::testing {

// Collects what is reported through kr820.link while it lives; one at a time.
class LinkLogCapture {
public:
    LinkLogCapture() : m_previous(qInstallMessageHandler(&Collect)) { s_current = this; }
    ~LinkLogCapture() {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    LinkLogCapture(const LinkLogCapture&) = delete;
    LinkLogCapture& operator=(const LinkLogCapture&) = delete;

    QStringList messages;

private:
    static void Collect(QtMsgType, const QMessageLogContext& context, const QString& text) {
        if (s_current && context.category && QByteArray(context.category) == "kr820.link")
            s_current->messages << text;
    }

    inline static LinkLogCapture* s_current = nullptr;
    QtMessageHandler m_previous;
};

}  // namespace kr820::testing
