#pragma once
// Rules of the desktop backend that need no window: which font, cursor and key a
// model value stands for, how texts become FLTK labels and file filters, where the
// items of a radio group go, how label texts wrap, and picture scaling.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/types.h"

namespace ui {

enum class FontFamily { Sans, Serif, Mono };

struct FontChoice {
    FontFamily family = FontFamily::Sans;
    bool bold = false;
    bool italic = false;
    int pixels = 11;
    bool operator==(const FontChoice&) const = default;
};

// The face and pixel size that show a model font: heavy faces ("Arial Black") are
// bold; sizes are points at 96 pixels per inch.
FontChoice ChooseFont(const TFont& font);

// A text for an FLTK-drawn label or menu item that shows exactly as given: FLTK
// reads '@' as a symbol and '&' as a shortcut mark, so both are doubled.
std::string EscapeLabel(std::string_view text);

// An open-dialog filter ("Workbooks (*.xlsx)|*.xlsx|All files (*.*)|*.*") as the
// native chooser's ("Workbooks (*.xlsx)\t*.xlsx\nAll files (*.*)\t*"): a list of
// patterns a;b becomes {a,b}, "*.*" matches every file. A description without its
// pattern is dropped.
std::string FileChooserFilter(std::string_view filter);

enum class PointerShape { Arrow, Busy };
// The busy cursor of a form covers the whole window; otherwise the control under the
// mouse decides.
PointerShape PointerShapeFor(TCursor form_cursor, TCursor control_cursor);

// The rectangles of a radio group's items in its client area, filled column by
// column below the caption.
std::vector<TRect> RadioItemRects(int width, int height, int text_height, int count, int columns);

// The lines of a label: broken at line feeds, and with word wrap also before a word
// that would pass the width (a word longer than the width stays whole).
std::vector<std::string> LabelLines(std::string_view text, bool word_wrap, int width,
                                    const std::function<int(std::string_view)>& text_width);

// The picture resized to width x height by nearest pixel.
PixelImage ScalePixels(const PixelImage& image, int width, int height);
// True when every pixel is fully opaque.
bool IsOpaque(const PixelImage& image);

// The model's key code for an FLTK key (FL_Enter, 'a', FL_Left, ...); 0 for a key the
// model has no code for.
std::uint16_t VirtualKeyFor(int fltk_key);
// The model's shift state for FLTK's event state bits.
TShiftState ShiftStateFor(int fltk_state);

}  // namespace ui
