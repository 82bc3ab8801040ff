// The faces that stand in for those the program names but a Linux desktop lacks; the forms and
// the printed page both draw with them.
#pragma once

namespace gui {

void substituteFaces();

}  // namespace gui
