// SPDX-License-Identifier: MIT
#include "cli/serve_config_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace kr820::cli {
namespace {

// Far more than any command's options take; a bound on what a wrong file (a device, a log)
// makes the program read.
constexpr qint64 kLongestFile = 1024 * 1024;

const QString kConfig = QString::fromLatin1(kConfigOptionName);

QString Typed(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// The row of an option by one of its names among the command's and the common ones.
const OptionRow* FindOption(const QString& name, std::span<const OptionRow> options) {
    for (std::span<const OptionRow> list : {options, CommonOptions()})
        for (const OptionRow& option : list)
            if (option.names.contains(name)) return &option;
    return nullptr;
}

// Options that ask about the program rather than tell the command what to do.
bool OutOfPlaceInAFile(const QString& name) {
    return name == kConfig || name == u"help" || name == u"h" || name == u"version" || name == u"V";
}

// One line's option words, or what is wrong with it (without the line's number).
std::variant<QStringList, QString> LineWords(const QString& line, const QString& folder,
                                             std::span<const OptionRow> options) {
    qsizetype end = 0;
    while (end < line.size() && !line[end].isSpace() && line[end] != u'=') ++end;
    QString name = line.left(end);
    if (name.startsWith(u"--"))
        name.remove(0, 2);
    else if (name.startsWith(u'-'))
        name.remove(0, 1);
    QString value = line.mid(end).trimmed();
    const bool valueGiven = !value.isEmpty();
    if (value.startsWith(u'=')) value = value.mid(1).trimmed();

    if (name.isEmpty()) return QStringLiteral("no option name");
    if (OutOfPlaceInAFile(name))
        return QStringLiteral("%1 cannot be given in a configuration file").arg(Typed(name));
    const OptionRow* option = FindOption(name, options);
    if (!option) {
        if (name.startsWith(u"KR820_"))
            return QStringLiteral(
                       "'%1' is an environment variable, the old form of this file: write each "
                       "option on a line of its own (e.g. 'metrics 127.0.0.1:9820')")
                .arg(name);
        return QStringLiteral("unknown option '%1'").arg(Typed(name));
    }
    if (option->valueName.isEmpty()) {
        if (valueGiven) return QStringLiteral("%1 takes no value").arg(Typed(name));
        return QStringList{Typed(name)};
    }
    if (value.isEmpty())
        return QStringLiteral("%1 needs a value (%2)").arg(Typed(name), option->valueName);
    if (option->valueName == u"FILE" && QDir::isRelativePath(value))
        value = QDir::cleanPath(QDir(folder).filePath(value));
    return QStringList{Typed(name), value};
}

// The option words of the configuration file `path`, or what is wrong with it, naming it.
std::variant<QStringList, QString> FileWords(const QString& path,
                                             std::span<const OptionRow> options) {
    if (path.isEmpty()) return QStringLiteral("an empty %1 names no file").arg(Typed(kConfig));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read the configuration file '%1': %2")
            .arg(path, file.errorString());
    const QByteArray bytes = file.read(kLongestFile + 1);
    if (bytes.size() > kLongestFile)
        return QStringLiteral("the configuration file '%1' is longer than %2 bytes")
            .arg(path)
            .arg(kLongestFile);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (utf8.hasError() || text.contains(QChar::Null))
        return QStringLiteral("the configuration file '%1' is not UTF-8 text").arg(path);
    auto words = ConfigFileWords(text, QFileInfo(path).absolutePath(), options);
    if (const QString* problem = std::get_if<QString>(&words))
        return QStringLiteral("%1, %2").arg(path, *problem);
    return words;
}

}  // namespace

std::variant<QStringList, QString> ConfigFileWords(const QString& text, const QString& folder,
                                                   std::span<const OptionRow> options) {
    QStringList words;
    const QStringList lines = text.split(u'\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QString line = lines[index].trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        auto lineWords = LineWords(line, folder, options);
        if (const QString* problem = std::get_if<QString>(&lineWords))
            return QStringLiteral("line %1: %2").arg(index + 1).arg(*problem);
        words += std::get<QStringList>(lineWords);
    }
    return words;
}

std::variant<QStringList, QString> WithConfigFiles(const QStringList& arguments,
                                                   std::span<const OptionRow> options) {
    const bool takesConfig = FindOption(kConfig, options) != nullptr;
    QStringList expanded;
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString& word = arguments[index];
        if (word == u"--") {  // operands only from here on
            expanded += arguments.mid(index);
            break;
        }
        if (!word.startsWith(u'-') || word == u"-") {
            expanded << word;
            continue;
        }
        QString name = word.mid(word.startsWith(u"--") ? 2 : 1);
        const qsizetype equals = name.indexOf(u'=');
        const bool valueJoined = equals >= 0;
        const QString joinedValue = valueJoined ? name.mid(equals + 1) : QString();
        if (valueJoined) name.truncate(equals);
        const bool valueFollows = !valueJoined && index + 1 < arguments.size();

        if (name == kConfig && takesConfig && (valueJoined || valueFollows)) {
            auto words = FileWords(valueJoined ? joinedValue : arguments[++index], options);
            if (const QString* problem = std::get_if<QString>(&words)) return *problem;
            expanded += std::get<QStringList>(words);
            continue;
        }
        expanded << word;
        // An option's value is never read as an option, whatever it looks like.
        const OptionRow* option = FindOption(name, options);
        if (option && !option->valueName.isEmpty() && valueFollows) expanded << arguments[++index];
    }
    return expanded;
}

}  // namespace kr820::cli
