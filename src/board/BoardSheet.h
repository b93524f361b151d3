#pragma once

#include "board/BoardPrint.h"

class BoardSession;

namespace BoardSheet {

// The two weeks the board shows, each caption as its slot shows it, a fresh
// booking's class label on a line of its own included.
BoardPrint::Sheet of(const BoardSession &session);

} // namespace BoardSheet
