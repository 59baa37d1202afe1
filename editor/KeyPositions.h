// Note keys read by key position: the piano rows lie where a US keyboard has
// "z s x d c v g b h n j m" and "q 2 w 3 e r 5 t 6 y 7 u i 9 o 0 p", whatever
// letters the keyboard prints there.
#pragma once

#include "runtime/String.h"

namespace editor {
// The layout switch's third state, and the one the tracker starts in.
constexpr int kLayoutByKeyPosition = 2;

// The note character the song stores for a character typed on a note column
// by the key with code keyCode (0: unknown key). A piano key always gives its
// note; the keypad's . + * - / give the commands . + # - <; any other key's
// character stays as typed.
int NoteCharByKeyPosition(int typed, int keyCode);

// Clicks step the switch through its three states: KEY, US, DE.
void StepLayoutSwitch(int& usLayout, String& label);
}  // namespace editor
