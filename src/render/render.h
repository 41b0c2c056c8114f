// The frame: the 3D board view and the flat overlay over it.
#pragma once

// Draws the frame that the rules' step (stepFrame) left: reads the state and
// frameView, changes neither.
void drawScene();
// Presents the frame drawScene drew: only the boxes in which it changed the
// picture, where the window system can.
void presentScene();
