// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QStringList>
#include <QtGlobal>
#include <utility>

namespace kr820::testing {

// Collects what is reported through one logging category (kr820.link unless told) while it
// lives; one at a time.
class LinkLogCapture {
public:
    explicit LinkLogCapture(QByteArray category = QByteArrayLiteral("kr820.link"))
        : m_category(std::move(category)), m_previous(qInstallMessageHandler(&Collect)) {
        s_current = this;
    }
    ~LinkLogCapture() {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    LinkLogCapture(const LinkLogCapture&) = delete;
    LinkLogCapture& operator=(const LinkLogCapture&) = delete;

    QStringList messages;

private:
    static void Collect(QtMsgType, const QMessageLogContext& context, const QString& text) {
        if (s_current && context.category && s_current->m_category == context.category)
            s_current->messages << text;
    }

    inline static LinkLogCapture* s_current = nullptr;
    QByteArray m_category;
    QtMessageHandler m_previous;
};

}  // namespace kr820::testing
