// vantrel-tool: inspects the show's content files the way the program reads them.
#include "event_queue_factory.h"
#include "timecode.h"
#include "tool_commands.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>

namespace {
void usage(std::ostream& out) {
    out << "usage: vantrel-tool COMMAND [ARGS]\n"
           "  markers FILE   the events of a marker script, in timeline order: type time_ms\n"
           "  midi FILE      load a MIDI sync file as the show does and list its events:\n"
           "                 time_ms type [kind track data1 data2]\n"
           "  timecode MS    milliseconds in the marker-script notation (h:m:s,ms)\n"
           "  obj2bzobj IN.obj OUT.bzobj [--normals]\n"
           "                 convert a Wavefront OBJ with its MTL materials into a mesh file;\n"
           "                 --normals computes smooth normals where the OBJ has none\n"
           "  bzobj FILE     the flags, counts, material ranges, materials and bounds of a mesh\n"
           "  pth FILE [T ...]\n"
           "                 the keys of a camera path, and eye, target and up at each T\n";
}
} // namespace

int tool_markers(int argc, char** argv) {
    if (argc != 1) {
        std::cerr << "usage: vantrel-tool markers FILE\n";
        return 2;
    }
    std::unique_ptr<cEventQueue> queue(cEventQueue_factory::loadFile(argv[0]));
    if (!queue)
        return 1;
    for (std::size_t i = 0; i < queue->size(); ++i)
        std::cout << queue->at(i)->m_type << ' ' << queue->at(i)->m_time << '\n';
    return 0;
}

int tool_timecode(int argc, char** argv) {
    if (argc != 1) {
        std::cerr << "usage: vantrel-tool timecode MS\n";
        return 2;
    }
    char* end = nullptr;
    errno = 0;
    long long ms = std::strtoll(argv[0], &end, 10);
    if (end == argv[0] || *end != '\0' || errno == ERANGE || ms < 0) {
        std::cerr << "vantrel-tool: timecode needs a whole number of milliseconds, not \""
                  << argv[0] << "\"\n";
        return 2;
    }
    std::cout << format_timecode(ms) << '\n';
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        usage(std::cerr);
        return 2;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "help") == 0) {
        usage(std::cout);
        return 0;
    }
    if (std::strcmp(command, "markers") == 0)
        return tool_markers(argc - 2, argv + 2);
    if (std::strcmp(command, "midi") == 0)
        return tool_midi(argc - 2, argv + 2);
    if (std::strcmp(command, "obj2bzobj") == 0)
        return tool_obj2bzobj(argc - 2, argv + 2);
    if (std::strcmp(command, "bzobj") == 0)
        return tool_bzobj(argc - 2, argv + 2);
    if (std::strcmp(command, "pth") == 0)
        return tool_pth(argc - 2, argv + 2);
    if (std::strcmp(command, "timecode") == 0)
        return tool_timecode(argc - 2, argv + 2);
    std::cerr << "vantrel-tool: unknown command " << command << "\n";
    usage(std::cerr);
    return 2;
}
