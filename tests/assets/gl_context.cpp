#include "assets/gl_context.h"

#include <GL/gl.h>

void GlTest::openContext() {
    std::string why;
    ASSERT_TRUE(harness::openTestWindow(Width, Height, &why)) << why;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
