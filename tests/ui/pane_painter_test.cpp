#include "ui/draw/pane_painter.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/draw/raster_canvas.h"
#include "ui/draw/update_window_painter.h"

namespace vantor::ui {
namespace {

// A full-width line fills the pane's width and stops inside its rectangle
// (the Flash display's "Messages" frame, the update utility's box).
TEST(PanePainter, FullLinesStayInsideThePane) {
  struct Case {
    const char* name;
    const PaneStyle& style;
    FontId font;
  };
  for (const Case& c : {Case{"flash", FlashPaneStyle(), FontId::Medium},
                        Case{"update", UpdatePaneStyle(), update_face::kPaneFont}}) {
    SCOPED_TRACE(c.name);
    MessagePane pane(c.style);
    pane.AddLine(c.style.success, std::string(static_cast<std::size_t>(c.style.width), 'W'));
    const Rgb marker{1, 2, 3};
    RasterCanvas canvas(800, 600, marker);
    PaintPane(canvas, pane, c.font);
    const int y = c.style.y + 5;
    EXPECT_NE(canvas.PixelAt(c.style.scrollRight - 2, y), marker);  // the last character is there
    for (int x = c.style.scrollRight; x < 800; ++x) ASSERT_EQ(canvas.PixelAt(x, y), marker) << x;
  }
}

}  // namespace
}  // namespace vantor::ui
