#pragma once

#include <QByteArrayView>
#include <QString>

// The encoding a booking file is in, told from its first bytes. The room's
// files are CP932; one that someone opened and saved in an editor may come
// back as UTF-8 or UTF-16. Such a file is shown, and never appended to: a
// CP932 record in it would be garbage to the editor and to every board.
namespace FileEncoding {

// NotText: no booking file in any encoding, but a program or other binary
// file under the booking file's name, never to be appended to.
enum class Kind { Cp932, Utf8WithMark, Utf8, Utf16LittleEndian, Utf16BigEndian, NotText };

// How much of the start of a file detect() looks at: 16 KiB, which the line
// reader then reads again from the system's cache. A CP932 booking file is
// told at its first booking (every text the board writes holds U+3000, 0x81
// 0x40, which is no UTF-8), so the cost is that of the few bytes before it;
// only a file still valid UTF-8 is looked at to the end of this head, which
// no editor leaves ASCII for 600 records and more. The rest of the file is
// not looked at: checking all of a large file would cost a read of its own.
// UTF-32, which no editor a school uses saves text in, counts as no text.
constexpr qsizetype HeadSize = 16 * 1024;

// `head` is the start of the file, up to HeadSize bytes. UTF-16 is known by
// its byte order mark; a program by its header (ELF, MZ, "#!"), other binary
// files by a NUL byte with more than zeros after it on its line; UTF-8 by
// its mark, or without one when every byte sequence is valid UTF-8 and one
// at least is a multi-byte character. A sequence cut off at the end of the
// head counts for neither.
Kind detect(QByteArrayView head);

// The bytes of the byte order mark the file starts with.
qsizetype markSize(Kind kind);

// For messages: "UTF-8", "UTF-16"; empty for CP932.
QString name(Kind kind);

} // namespace FileEncoding
