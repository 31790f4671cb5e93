// SPDX-License-Identifier: MIT
// The command line's arguments as a shell hands them over: any words, any bytes. Every one is
// either a command that makes sense or one line saying what is wrong.
#include "cli/cli_arguments.h"
#include "fuzz_support.h"

using namespace kr820;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One argument per line, as bytes from the system's locale would come.
    const QByteArray words(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList arguments;
    for (const QByteArray& word : words.split('\n')) {
        // serve's --config reads a file: a path such as /dev/stdin would wait for input, and what
        // the disk holds is no input of the fuzzer's. The file's own parser is tested apart.
        if (word.startsWith("--config")) return 0;
        arguments << QString::fromLocal8Bit(word);
    }

    const cli::CliParse parsed = cli::ParseCliArguments(arguments);
    if (const auto* error = std::get_if<cli::UsageError>(&parsed)) {
        KR820_FUZZ_CHECK(!error->message.isEmpty());
        KR820_FUZZ_CHECK(!error->message.contains(QLatin1Char('\n')));
        KR820_FUZZ_CHECK(error->usage.startsWith(QLatin1String("Try 'kr820-cli ")));
        return 0;
    }
    const auto& command = std::get<cli::CliArguments>(parsed);
    KR820_FUZZ_CHECK(command.count >= 0);
    KR820_FUZZ_CHECK(command.everySeconds >= 1 && command.everySeconds <= 86400);
    KR820_FUZZ_CHECK(command.set >= 1);
    KR820_FUZZ_CHECK(command.durationSeconds >= 0 && command.durationSeconds <= 366LL * 86400);
    KR820_FUZZ_CHECK(command.verbosity >= 0 && command.verbosity <= 3);
    if (command.command == cli::Command::Download) KR820_FUZZ_CHECK(!command.output.isEmpty());
    if (command.command == cli::Command::Sets || command.command == cli::Command::Export)
        KR820_FUZZ_CHECK(!command.file.isEmpty());
    return 0;
}
