// orfe-jack-tones: a JACK client that plays a sequence of synthetic tones, so
// that the tuner can be seen at work without an instrument. Its output port is
// connected to a given input port (the tuner's "orfe:input" by default) as soon
// as that port exists, and again whenever it comes back.

#include "ToneSynth.h"

#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

std::atomic<bool> g_stop{false};

struct Player
{
    jack_port_t* port = nullptr;
    std::vector<float> sound; // rendered before activation, never resized after
    std::atomic<size_t> pos{0};
    std::atomic<bool> finished{false};
    bool loop = false;
};

// Real-time thread: copies the rendered sound, nothing else (no lock, no
// allocation, no output).
int Process(jack_nframes_t nframes, void* arg)
{
    auto* p = static_cast<Player*>(arg);
    auto* out = static_cast<float*>(jack_port_get_buffer(p->port, nframes));
    size_t pos = p->pos.load(std::memory_order_relaxed);
    for (jack_nframes_t i = 0; i < nframes; ++i) {
        if (pos >= p->sound.size()) {
            if (p->loop && !p->sound.empty()) {
                pos = 0;
            } else {
                out[i] = 0.0f;
                p->finished.store(true, std::memory_order_relaxed);
                continue;
            }
        }
        out[i] = p->sound[pos++];
    }
    p->pos.store(pos, std::memory_order_relaxed);
    return 0;
}

void Shutdown(void*)
{
    g_stop = true;
}

void OnSignal(int)
{
    g_stop = true;
}

void Usage(FILE* f)
{
    std::fprintf(f, "Usage: orfe-jack-tones [options]\n"
                    "  --name NAME       JACK client name (orfe-demo)\n"
                    "  --connect PORT    input port to feed, connected whenever it exists (orfe:input);\n"
                    "                    an empty name connects nothing\n"
                    "  --note F[:C]      a tone of F Hz detuned by C cents; repeat for a sequence\n"
                    "                    (default: the six open strings of a guitar, each a few cents off)\n"
                    "  --seconds S       length of each tone (3)\n"
                    "  --gap S           silence after each tone (0.5)\n"
                    "  --kind K          sine|harmonic|weak|inharmonic|square (inharmonic)\n"
                    "  --amplitude A     peak amplitude (0.5)\n"
                    "  --once            play the sequence once and exit (default: loop until stopped)\n");
}

} // namespace

int main(int argc, char** argv)
{
    std::string name = "orfe-demo", target = "orfe:input";
    std::vector<std::pair<double, double>> notes;
    double seconds = 3.0, gap = 0.5;
    ToneSynth::Tone tone;
    tone.kind = ToneSynth::Kind::Inharmonic;
    tone.inharmonicity = 0.0001;
    bool loop = true;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "orfe-jack-tones: option '%s' needs a value\n", a.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--help") {
            Usage(stdout);
            return 0;
        } else if (a == "--name") {
            name = value();
        } else if (a == "--connect") {
            target = value();
        } else if (a == "--note") {
            const std::string v = value();
            const auto colon = v.find(':');
            notes.push_back({std::atof(v.substr(0, colon).c_str()),
                             colon == std::string::npos ? 0.0 : std::atof(v.substr(colon + 1).c_str())});
            if (!(notes.back().first > 0)) {
                std::fprintf(stderr, "orfe-jack-tones: invalid note '%s'\n", v.c_str());
                return 2;
            }
        } else if (a == "--seconds") {
            seconds = std::atof(value().c_str());
        } else if (a == "--gap") {
            gap = std::atof(value().c_str());
        } else if (a == "--amplitude") {
            tone.amplitude = std::atof(value().c_str());
        } else if (a == "--once") {
            loop = false;
        } else if (a == "--kind") {
            const std::string k = value();
            if (!ToneSynth::ParseKind(k, tone.kind)) {
                std::fprintf(stderr, "orfe-jack-tones: unknown kind '%s'\n", k.c_str());
                return 2;
            }
        } else {
            std::fprintf(stderr, "orfe-jack-tones: unknown option '%s'\n", a.c_str());
            Usage(stderr);
            return 2;
        }
    }
    if (notes.empty()) // E2 A2 D3 G3 B3 E4, slightly out of tune
        notes = {{82.407, +6}, {110.0, -4}, {146.832, +9}, {195.998, -7}, {246.942, +3}, {329.628, -12}};

    jack_status_t status;
    jack_client_t* client = jack_client_open(name.c_str(), JackNoStartServer, &status);
    if (!client) {
        std::fprintf(stderr, "orfe-jack-tones: cannot connect to the JACK server (status 0x%x)\n",
                     unsigned(status));
        return 1;
    }
    Player player;
    player.loop = loop;
    const int rate = int(jack_get_sample_rate(client));
    for (const auto& n : notes) {
        tone.f0 = n.first * std::pow(2.0, n.second / 1200.0);
        ToneSynth::append(player.sound, tone, rate, seconds);
        player.sound.resize(player.sound.size() + size_t(std::max(0.0, gap) * rate), 0.0f);
    }
    player.port = jack_port_register(client, "out", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    if (!player.port) {
        std::fprintf(stderr, "orfe-jack-tones: cannot register a port\n");
        jack_client_close(client);
        return 1;
    }
    jack_set_process_callback(client, Process, &player);
    jack_on_shutdown(client, Shutdown, nullptr);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    if (jack_activate(client) != 0) {
        std::fprintf(stderr, "orfe-jack-tones: cannot activate the client\n");
        jack_client_close(client);
        return 1;
    }
    std::printf("orfe-jack-tones: playing %zu tone(s) at %d Hz from %s\n", notes.size(), rate,
                jack_port_name(player.port));
    std::fflush(stdout);

    const std::string own = jack_port_name(player.port);
    while (!g_stop && !player.finished) {
        if (!target.empty()) {
            jack_port_t* in = jack_port_by_name(client, target.c_str());
            if (in && !jack_port_connected_to(player.port, target.c_str()))
                jack_connect(client, own.c_str(), target.c_str());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (!g_stop) jack_deactivate(client);
    jack_client_close(client);
    return 0;
}
