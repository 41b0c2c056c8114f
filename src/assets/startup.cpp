// Start-up: what every new GL context needs, and on the first run also the
// meshes, the high scores and the opening screen.
#include <GL/gl.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "assets/assets.h"
#include "assets/assets_local.h"
#include "game/game.h"
#include "persist/persist.h"
#include "platform/platform.h"

uint8_t firstStartUp = 1;

namespace {

struct Light {
    GLenum name;
    GLfloat ambient[4];
    GLfloat diffuse[4];
    GLfloat position[4];
};

// Eye-space positions: the modelview matrix is the identity when they are set.
// Light 2 adds a faint red; the board view switches light 3.
const Light lights[] = {
    {GL_LIGHT1, {0.25f, 0.25f, 0.25f, 1.0f}, {0.2f, 0.2f, 0.2f, 1.0f}, {0.0f, 0.0f, -10.0f, 1.0f}},
    {GL_LIGHT2, {0.0f, 0.0f, 0.0f, 1.0f}, {0.2f, 0.0f, 0.0f, 1.0f}, {0.5f, 0.0f, 0.0f, 1.0f}},
    {GL_LIGHT3, {0.1f, 0.1f, 0.1f, 1.0f}, {0.7f, 0.7f, 0.7f, 1.0f}, {0.0f, 0.0f, -5.0f, 1.0f}},
};

void setFixedState() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // blending itself stays off
    glShadeModel(GL_SMOOTH);
    for (const Light& light : lights) {
        glLightfv(light.name, GL_AMBIENT, light.ambient);
        glLightfv(light.name, GL_DIFFUSE, light.diffuse);
        glLightfv(light.name, GL_POSITION, light.position);
    }
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHT2);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_TEXTURE_2D);
}

}  // namespace

void setCursorLight(bool lit) {
    static const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    const Light& light = lights[2];
    glLightfv(light.name, GL_AMBIENT, lit ? light.ambient : black);
    glLightfv(light.name, GL_DIFFUSE, lit ? light.diffuse : black);
}

bool initAtStartUp() {
    retrySharpPictures();
    if (!createTextures()) return false;
    // The dice and the frame clock start once per run: a window made again
    // (the full-screen switch) changes neither the gems to come nor the time.
    if (firstStartUp) {
        seedRandom();
        clockStart();
    }
    buildDisplayLists();
    createFontLists();
    setFixedState();
    if (!firstStartUp) return true;

    game.gameMode = GameMode::Levels;
    settleModeButtons();
    for (int kind = 1; kind <= GemKinds; ++kind) loadGemMesh(kind);
    loadHighScores();
    GameMode lastMode = GameMode::Levels;
    const bool savedGameWaits = savedGameRunning(&lastMode);
    startFirstGame(savedGameWaits, lastMode);
    firstStartUp = 0;
#if defined(__GLIBC__)
    // The decoded pictures and the files read are gone; give the pages they
    // left free inside the heap back to the system.
    malloc_trim(0);
#endif
    return true;
}
