// Captions shown whole. The windows are laid out in twips for Tahoma; where the font actually
// used is wider, a label, check box or button grows to its caption instead of cutting it, and a
// drop-down list to its widest entry (its entries are the program's own texts).
#pragma once

class QLabel;
class QString;
class QWidget;

namespace platform {

// Widens every label, check box, button and drop-down list among `window`'s own controls whose
// one-line caption or widest entry is cut (word-wrapped labels are left alone). A control on the
// same row to the right that the caption would reach moves right by as much and keeps its right
// edge; where that would take more than a quarter of the neighbour's width, or the caption would
// run past the edge of a window of fixed size, the caption's text is made smaller until it fits.
// Running it again changes nothing.
void FitCaptions(QWidget* window);

// Marks `label` as showing a record's data rather than a caption: FitCaptions leaves it, and the
// controls beside it, as they are, whatever text it holds when its window opens.
void MarkAsData(QLabel* label);

// Links `label` to `control` (its mnemonic moves the focus there) and names the control after
// the caption for screen readers: "&Glass :" names it "Glass".
void LinkLabel(QLabel* label, QWidget* control);

} // namespace platform
