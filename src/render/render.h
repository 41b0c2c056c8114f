// The frame: the 3D board view and the flat overlay over it.
#pragma once

bool drawScene();
