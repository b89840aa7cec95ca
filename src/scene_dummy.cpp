#include "scene_dummy.h"

#include "event.h"

#include <GL/gl.h>
#include <iostream>

void cSceneDummy::draw() {
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void cSceneDummy::on_event(cEvent* event) {
    std::cerr << "dummy-scene recieved event: " << event->m_type << std::endl;
}
