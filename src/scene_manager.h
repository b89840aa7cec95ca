// Owns the scenes, the timeline clock and the event queue. Each frame it
// advances the clock, hands every event that has become due to its receiver
// and updates the current scene.
#pragma once

#include "clock.h"
#include "event_queue.h"
#include "post_glow.h"
#include "scene.h"
#include "sound_module_sdl.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class cLightControl;
class cSceneDummy;
class iLoadScreen;

class cSceneManager {
public:
    static constexpr const char* kMarkerScript = "../data/script/markers.txt";

    // Created on first use.
    static cSceneManager* instance();
    // Releases and deletes the manager (exit handler); harmless when none.
    static void destroy();

    // Takes ownership; the scene's number is its position.
    void add_scene(cScene* scene);
    // Reads the marker script into the queue, starts the music output and
    // decodes the music, and sets the clock.
    void load(const std::string& marker_script = kMarkerScript,
              const std::string& music_file = cSoundModule_sdl::kMusicFile);
    // Every scene's load, reporting progress (the screen may be none).
    void load_scenes(iLoadScreen* screen);
    // One frame: clock, due events, scene update, light fade. True when the
    // current scene was switched.
    bool update();
    bool process_events();
    void switch_scene(cEvent* event);
    // Called with the scene's number right after a scene's enter (not for
    // the fallback scene): the kept tweak values go in there.
    void set_enter_hook(std::function<void(std::size_t, cScene*)> hook) {
        m_enter_hook = std::move(hook);
    }
    void draw_current();
    // Closes the music and frees scenes, queue and fallback scene; the manager
    // can be loaded again.
    void release();

    // Everything the show's frames move: each scene's state, which scene is
    // current, the timeline, the queue's cursor, the light control, the
    // glow settings and the random generator. GL-free.
    struct sSnapshot {
        std::vector<std::shared_ptr<const iSceneState>> scenes;
        int current = -1; // a scene's number; -1 none, -2 the fallback scene
        sTimeBlock time;
        std::size_t cursor = 0;
        int light_colour = 0;
        int light_level = 0;
        int light_fade_budget = 0;
        sGlowSettings glow;
        std::uint32_t random = 0;
    };
    // The present state. A scene that has not been current since the last
    // snapshot or restore shares the state kept then instead of a new copy.
    sSnapshot snapshot();
    // Puts a snapshot of this show back: the scene current then becomes
    // current again (the one current now leaves, the new one enters for its
    // GL state), then every saved value is put back.
    void restore(const sSnapshot& snapshot);
    // Deletes the scenes and makes them anew with add_scenes, loaded as at
    // start-up: no scene current, the queue rewound, the timeline at 0, the
    // light control off. The random generator and the scenes' shared values
    // are the caller's to reset first.
    void rebuild(const std::function<void(cSceneManager*)>& add_scenes);

    // The clock source (not owned); the platform clock unless set.
    void set_clock(iClock* clock);
    // Restarts the timeline at the clock's present time.
    void restart_clock();
    // Milliseconds of the clock since the manager first read it.
    int demo_time_ms();
    int timeline_ms() const { return m_time.current - m_time.start; }

    cEventQueue* m_eventqueue = nullptr;
    std::vector<cScene*> m_scenes;
    cScene* m_current = nullptr;
    cSoundModule_sdl m_music;
    sTimeBlock m_time;
    std::int64_t m_frequency = 0;
    cSceneDummy* m_fallback = nullptr;
    cLightControl* m_light; // beats flash the case lights
    // Off: `load` leaves the music alone (tests of the timeline alone).
    bool m_music_enabled = true;

private:
    cSceneManager();
    ~cSceneManager();

    // Scene i's saved state while the scene has not moved since (else none).
    std::vector<std::shared_ptr<const iSceneState>> m_saved;
    void moved(const cScene* scene);

    iClock* m_clock = nullptr;
    // Counter value at the first reading: the millisecond values are formed
    // from the 64-bit difference to it, so they stay small however long the
    // machine has been up.
    std::int64_t m_clock_origin = 0;
    bool m_clock_started = false;
    std::function<void(std::size_t, cScene*)> m_enter_hook;

    static cSceneManager* s_instance;
};
