#pragma once

// Qt presents a plain top-level widget to screen readers as a client area
// (a "filler"); the board is announced as the window it is. Installed once,
// however many boards are made.
void announceBoardAsWindow();
