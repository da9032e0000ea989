// GDI objects (fonts, brushes) owned by the window and deleted with it.
#pragma once

#include <memory>
#include <type_traits>

#include "win/windows_api.hpp"

namespace oradel::win {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using BrushHandle = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;

}  // namespace oradel::win
