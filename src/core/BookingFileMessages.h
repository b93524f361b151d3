#pragma once

#include <QString>

// The words for a booking file that cannot be used, shared by the board and
// by a slot's history, so that both refuse a file alike. Headlines hold %1
// for the file's name.
namespace BookingFileMessages {

inline const QString CannotCreate = QStringLiteral("予約ファイル「%1」を作成できません。");
inline const QString CannotRead = QStringLiteral("予約ファイル「%1」を読み込めません。");
inline const QString CannotWrite = QStringLiteral("予約ファイル「%1」に書き込めません。");
inline const QString CannotLock = QStringLiteral("予約ファイル「%1」をロックできません。");
inline const QString NotAFile = QStringLiteral("普通のファイルではなく、パイプやソケット、装置などです。");
inline const QString NotBookings = QStringLiteral(
    "予約ファイルではなく、プログラムなど別の種類のファイルです。このファイルの中身を確かめてください。");
inline const QString TooLarge = QStringLiteral(
    "大きさが %1 バイトあり、予約ファイルとしては大きすぎます（上限 %2 バイト）。中身を確かめてください。");

} // namespace BookingFileMessages
