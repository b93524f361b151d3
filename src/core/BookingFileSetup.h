#pragma once

#include <QString>

struct RoomLocation;

// A room's booking file is the administrator's to make: made by root for the
// group teachers, so that every teacher may write it and nothing else in the
// folder. The board itself makes one only where the folder lets the teacher.
namespace BookingFileSetup {

// The shell line that makes `bookingFile` empty, writable by the teachers.
QString installLine(const QString &bookingFile);

// Why a board started by root must not open `room`, or empty when it may: a
// booking file it made would be root's own, closed to every teacher.
QString refusalForRoot(const RoomLocation &room);

} // namespace BookingFileSetup
