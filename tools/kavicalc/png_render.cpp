#include "png_render.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cmath>

#include "call_failure.h"

namespace kavi::tool {

namespace {
// Owners of the library's objects, released on every way out.
struct HandleOwner {
  RsvgHandle* handle;
  ~HandleOwner() {
    if (handle) g_object_unref(handle);
  }
};
struct SurfaceOwner {
  cairo_surface_t* surface;
  ~SurfaceOwner() { cairo_surface_destroy(surface); }
};
struct ContextOwner {
  cairo_t* cairo;
  ~ContextOwner() { cairo_destroy(cairo); }
};

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

[[noreturn]] void RenderFailure(const std::string& why) {
  Fail(E_FAIL, "Cannot render the picture as PNG: " + why);
}
}  // namespace

std::string RenderPng(const std::string& svg) {
  GError* error = nullptr;
  HandleOwner handle{
      rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &error)};
  if (!handle.handle) {
    const std::string why = error ? error->message : "the SVG document was refused";
    if (error) g_error_free(error);
    RenderFailure(why);
  }
  gdouble width = 0, height = 0;
  if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.handle, &width, &height) || width < 1 ||
      height < 1)
    RenderFailure("the SVG document has no size in pixels");
  SurfaceOwner surface{cairo_image_surface_create(CAIRO_FORMAT_ARGB32,
                                                  static_cast<int>(std::ceil(width)),
                                                  static_cast<int>(std::ceil(height)))};
  if (cairo_surface_status(surface.surface) != CAIRO_STATUS_SUCCESS)
    RenderFailure(cairo_status_to_string(cairo_surface_status(surface.surface)));
  {
    ContextOwner cairo{cairo_create(surface.surface)};
    // An opaque white page, as the SVG shows in a browser.
    cairo_set_source_rgb(cairo.cairo, 1, 1, 1);
    cairo_paint(cairo.cairo);
    const RsvgRectangle viewport{0, 0, width, height};
    if (!rsvg_handle_render_document(handle.handle, cairo.cairo, &viewport, &error)) {
      const std::string why = error ? error->message : "rendering failed";
      if (error) g_error_free(error);
      RenderFailure(why);
    }
  }
  std::string png;
  const cairo_status_t status = cairo_surface_write_to_png_stream(surface.surface, Append, &png);
  if (status != CAIRO_STATUS_SUCCESS) RenderFailure(cairo_status_to_string(status));
  return png;
}

}  // namespace kavi::tool
