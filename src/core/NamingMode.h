#pragma once

#include <QStringView>

// How the class dialog names classes, shared by the board and the dialog.
enum class NamingMode {
    Lettered, // class labels such as １Ａ
    Numbered, // class labels such as １-２
    // Lettered as well, but shown grayed: the board has always kept a
    // cancelled clearing's answer in this flag, and the grayed box shows it.
    LetteredAfterCancelledClearing,
};

// The mode after replaying a slot text: numbered labels carry "-" as their
// second character. Texts that cannot tell (the grade "その他", or a lone
// ideographic space) leave the mode as it was.
NamingMode namingModeAfterText(QStringView text, NamingMode current);

// The mode the clearing question leaves behind: OK is numbered and Cancel
// the grayed lettered mode, whatever the mode was before.
NamingMode namingModeAfterClearQuestion(bool confirmed);

// The class dialog's toggle entry: numbered becomes lettered, either lettered
// mode numbered.
NamingMode toggledInClassMenu(NamingMode mode);

// A click on the board's check box: lettered becomes numbered, anything else
// lettered, as a two-state box turns.
NamingMode toggledByCheckBox(NamingMode mode);
