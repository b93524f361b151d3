#pragma once

#include <QStringList>

class QTranslator;

// Qt's own texts in Japanese: the buttons of the message boxes read "OK" and
// "キャンセル". They come from Qt's translation file qtbase_ja.qm.
namespace QtTranslation {

// Where to look: Qt's translations folder, then translations/ beside the
// program, where a copy for Windows is shipped.
QStringList folders();

// Loads qtbase_ja.qm from the first of folders that has it and installs it
// in the application. Null when none has it: Qt's English texts then stay,
// which is no error.
QTranslator *install(const QStringList &folders);

} // namespace QtTranslation
