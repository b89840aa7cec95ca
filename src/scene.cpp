#include "scene.h"

void cScene::add_vars(cGuiVarList*) {}
