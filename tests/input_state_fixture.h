// A fixture for tests that feed input: each test starts with no keys, presses
// or buttons and the pointer at the origin, and leaves the process-wide input
// state as it found it, so that tests in one process do not see each other's
// wheel steps or held keys.
#pragma once

#include "input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

class InputStateTest : public testing::Test {
protected:
    void SetUp() override {
        m_keys_down.swap(g_keys_down);
        m_key_presses.swap(g_key_presses);
        m_mouse_pos = g_mouse_pos;
        m_mouse_click_pos = g_mouse_click_pos;
        std::copy(std::begin(g_mouse_buttons), std::end(g_mouse_buttons), m_mouse_buttons);
        g_mouse_pos = g_mouse_click_pos = Vec3f();
        std::fill(std::begin(g_mouse_buttons), std::end(g_mouse_buttons), 0);
    }
    void TearDown() override {
        g_keys_down.swap(m_keys_down);
        g_key_presses.swap(m_key_presses);
        g_mouse_pos = m_mouse_pos;
        g_mouse_click_pos = m_mouse_click_pos;
        std::copy(std::begin(m_mouse_buttons), std::end(m_mouse_buttons), g_mouse_buttons);
    }

private:
    std::map<int, int> m_keys_down, m_key_presses;
    Vec3f m_mouse_pos, m_mouse_click_pos;
    int m_mouse_buttons[6] = {};
};
