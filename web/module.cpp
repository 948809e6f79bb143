// The page's module: what the page's script calls. Texts cross as UTF-8.
#include "web/page.h"

#include <emscripten/emscripten.h>

extern "C" {

// Runs the start-up once the page's elements are there; startMillis is when the page was opened.
EMSCRIPTEN_KEEPALIVE void tm_load(double startMillis)
{
    web::Form_Load(startMillis);
}

// A control's event, by the window's names: ("List1", "Click"), ("Text2", "Change").
EMSCRIPTEN_KEEPALIVE void tm_event(const char *control, const char *event)
{
    web::raise(control, event);
}

} // extern "C"
