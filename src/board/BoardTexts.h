#pragma once

#include <QString>

// The board's fixed texts; those beside the slots go on paper too.
namespace BoardTexts {

inline const QString Instructions = QStringLiteral(
    "使用したい授業駒をクリックし、学級・教科を指定してください。"
    "すでに授業が入っている駒をクリックすると削除の確認がされます。");
// The lessons of a day, one digit a line in a label one character wide.
inline const QString SlotNumbers = QStringLiteral("１　　２　　３　　４　　５　　６　　７");
// Beside the seventh slot of a day.
inline const QString AfterLessons = QStringLiteral("授業後");
// Asked before a booked slot is cleared.
inline const QString ClearQuestion = QStringLiteral("クラスを消去しますか。");
inline const QString Authorship = QStringLiteral("作成：roomboard 開発チーム");

} // namespace BoardTexts
