#pragma once

#include "BenchFiles.h"

#include "board/Hiduke.h"

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <memory>

// The board of the benchmark room over a folder, loaded as main() loads it
// but on the benchmark's fixed date. A board that cannot use its file ends
// the process with status 1 and the message on stderr.
inline std::unique_ptr<Hiduke> loadBenchBoard(const QString &folder)
{
    BoardEnvironment environment;
    environment.today = [] { return BenchFiles::today(); };
    environment.location = [folder] { return RoomLocation{folder, BenchFiles::roomName()}; };

    auto board = std::make_unique<Hiduke>(environment);
    QObject::connect(board.get(), &Hiduke::failed, [](const QString &message) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::_Exit(1);
    });
    if (!board->Form_Load())
        std::_Exit(1);
    return board;
}
