// TARN's textured draw side by side with Mesa's llvmpipe drawing the same mesh,
// skin and view through OpenGL, on one thread and on every core.
//
// llvmpipe reads its thread count once, when its screen is made, so each
// thread count runs in a child process of its own; inside it both renderers
// draw the same frames one after the other and the medians are compared.
// The GL side gets what TARN gets: the model's positions and texel corners, a
// nearest-sampled skin, a depth test and back faces culled. Its frame is read
// back once and compared with TARN's, so the table says how alike the two
// pictures are, not only how fast.
//
//   tarn_llvmpipe_bench [--frames N]
#define GL_GLEXT_PROTOTYPES 1
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../sphere_session.h"
#include "platform/batch_ui.h"
#include "render/camera.h"
#include "render/pipeline_mode.h"

namespace tarn {
namespace {

using Clock = std::chrono::steady_clock;

struct Size {
    int width;
    int height;
};
constexpr std::array<Size, 2> kSizes{{{640, 480}, {1280, 960}}};
constexpr float kFieldOfView = 33.0f;
constexpr double kDegreesToRadians = 3.14159265358979 / 180.0;
// The model's height takes this share of the pane.
constexpr float kFramedShare = 0.8f;
constexpr float kFarZ = 100000.0f;

struct Scene {
    std::string name;
    std::unique_ptr<RenderSession> session;
};

void frameModel(RenderSession& s) {
    const Vec3f* p = s.mesh.currentPositions();
    Vec3f lo{1e30f, 1e30f, 1e30f}, hi{-1e30f, -1e30f, -1e30f};
    for (int i = 0; i < s.mesh.vertexCount; ++i) {
        lo = {std::min(lo.x, p[i].x), std::min(lo.y, p[i].y), std::min(lo.z, p[i].z)};
        hi = {std::max(hi.x, p[i].x), std::max(hi.y, p[i].y), std::max(hi.z, p[i].z)};
    }
    const Vec3f centre{(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2};
    const float extent = std::max(hi.y - lo.y, hi.z - lo.z);
    const auto half = float(std::tan(kFieldOfView * 0.5 * kDegreesToRadians));
    const float dist = extent / (kFramedShare * 2.0f * half) + (hi.x - lo.x) / 2;
    s.setCamera({centre.x + dist, centre.y, centre.z}, centre, kFieldOfView);
}

std::vector<Scene> scenes() {
    std::vector<Scene> out;
    out.push_back({"sphere 4032 tris, 256x256 skin", bench::sphereSession(false)});
    // Colours of their own for the generated skin's indices, so the two
    // pictures can be compared.
    Skin& sphereSkin = *out.back().session->skins.current();
    for (std::size_t i = 0; i < sphereSkin.palette.size(); ++i) sphereSkin.palette[i] = std::uint8_t(i * 37 + 11);
    out.back().session->rebuildTables();
    frameModel(*out.back().session);
    const std::string base = std::string(TARN_REAL_TESTDATA) + "/q2-didux/baseq2";
    if (std::filesystem::exists(base + "/players/male/tris.md2")) {
        auto s = std::make_unique<RenderSession>();
        std::ostringstream quiet;
        BatchUi ui(quiet);
        if (loadSessionModel(*s, base + "/players/male/tris.md2", base, ui) && s->skins.current()) {
            frameModel(*s);
            const Skin& skin = *s->skins.current();
            out.push_back({"male player " + std::to_string(s->mesh.triangleCount) + " tris, " +
                               std::to_string(skin.width) + "x" + std::to_string(skin.height) + " skin",
                           std::move(s)});
        }
    }
    return out;
}

double medianMs(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The surfaceless Mesa display, an OpenGL context and a frame buffer object
// the size of the largest pane.
class GlContext {
public:
    bool open() {
        auto getDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
            eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (!getDisplay) return fail("no eglGetPlatformDisplayEXT");
        display_ = getDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display_ == EGL_NO_DISPLAY || !eglInitialize(display_, nullptr, nullptr))
            return fail("no surfaceless EGL display");
        if (!eglBindAPI(EGL_OPENGL_API)) return fail("no desktop OpenGL through EGL");
        context_ = eglCreateContext(display_, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, nullptr);
        if (context_ == EGL_NO_CONTEXT) return fail("no EGL context");
        if (!eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_))
            return fail("cannot make the context current");
        renderer_ = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        return true;
    }
    ~GlContext() {
        if (display_ != EGL_NO_DISPLAY) eglTerminate(display_);
    }
    const std::string& renderer() const { return renderer_; }
    const std::string& error() const { return error_; }

private:
    bool fail(const char* why) {
        error_ = why;
        return false;
    }
    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLContext context_ = EGL_NO_CONTEXT;
    std::string renderer_;
    std::string error_;
};

// One scene at one size on the GL side: its vertex buffer, skin texture and
// frame buffer, with TARN's camera turned into GL matrices.
class GlScene {
public:
    GlScene(RenderSession& s, Size size) : size_(size) {
        const Mesh& mesh = s.mesh;
        const Skin& skin = *s.skins.current();
        const Vec3f* p = mesh.currentPositions();
        std::vector<float> data;
        for (int t = 0; t < mesh.triangleCount; ++t) {
            const Triangle& tri = mesh.triangles[std::size_t(t)];
            for (int k = 0; k < 3; ++k) {
                const Vec3f& v = p[tri.vertex[std::size_t(k)]];
                const MappingVert& m = mesh.mappingVerts[std::size_t(tri.mapping[std::size_t(k)])];
                data.insert(data.end(), {v.x, v.y, v.z, float(m.s) / float(skin.width),
                                         float(m.t) / float(skin.height)});
            }
        }
        vertexCount_ = GLsizei(data.size() / 5);
        glGenBuffers(1, &buffer_);
        glBindBuffer(GL_ARRAY_BUFFER, buffer_);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(data.size() * sizeof(float)), data.data(), GL_STATIC_DRAW);

        const Palette& pal = s.palette(kModeTextured);
        std::vector<std::uint8_t> rgba(skin.pixels.size() * 4);
        for (std::size_t i = 0; i < skin.pixels.size(); ++i)
            for (int c = 0; c < 3; ++c) rgba[i * 4 + std::size_t(c)] = pal[skin.pixels[i] * 3u + unsigned(c)];
        glGenTextures(1, &texture_);
        glBindTexture(GL_TEXTURE_2D, texture_);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, skin.width, skin.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     rgba.data());

        glGenRenderbuffers(2, renderbuffers_.data());
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[0]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, size.width, size.height);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[1]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, size.width, size.height);
        glGenFramebuffers(1, &framebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers_[0]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, renderbuffers_[1]);
        complete_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;

        setMatrices(s.target);
        glViewport(0, 0, size.width, size.height);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(3, GL_FLOAT, 5 * sizeof(float), nullptr);
        glTexCoordPointer(2, GL_FLOAT, 5 * sizeof(float), reinterpret_cast<const void*>(3 * sizeof(float)));
        glClearColor(0, 0, 0, 0);
        glEnable(GL_CULL_FACE);
    }
    ~GlScene() {
        glDeleteFramebuffers(1, &framebuffer_);
        glDeleteRenderbuffers(2, renderbuffers_.data());
        glDeleteTextures(1, &texture_);
        glDeleteBuffers(1, &buffer_);
    }
    bool complete() const { return complete_; }
    void cullFront(bool front) { glCullFace(front ? GL_FRONT : GL_BACK); }

    void draw() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDrawArrays(GL_TRIANGLES, 0, vertexCount_);
        glFinish();
    }

    // Share of the pixels either renderer covers where both show the same
    // colour: how alike the two pictures are.
    double agreement(RenderSession& s, const std::string& tag) const {
        std::vector<std::uint8_t> gl(std::size_t(size_.width) * std::size_t(size_.height) * 4);
        glReadPixels(0, 0, size_.width, size_.height, GL_RGBA, GL_UNSIGNED_BYTE, gl.data());
        const FrameBuffer& f = s.frame;
        const Palette& pal = s.palette(kModeTextured);
        std::size_t either = 0, same = 0;
        for (int y = 0; y < size_.height; ++y)
            for (int x = 0; x < size_.width; ++x) {
                const std::size_t e = std::size_t(y) * std::size_t(f.width()) + std::size_t(x);
                const std::uint8_t* g = &gl[(std::size_t(y) * std::size_t(size_.width) + std::size_t(x)) * 4];
                const bool tarnCovered = f.pick()[e] != kPickNothing;
                const bool glCovered = g[0] | g[1] | g[2];
                if (!tarnCovered && !glCovered) continue;
                ++either;
                const std::uint8_t* c = &pal[f.colour()[e] * 3u];
                same += tarnCovered && c[0] == g[0] && c[1] == g[1] && c[2] == g[2];
            }
        if (const char* dump = std::getenv("TARN_LLVMPIPE_DUMP")) {
            // Both pictures side by side, top row first, for a look by eye.
            const std::string path = std::string(dump) + "-" + tag + ".ppm";
            if (FILE* out = std::fopen(path.c_str(), "wb")) {
                std::fprintf(out, "P6 %d %d 255\n", size_.width * 2, size_.height);
                for (int y = size_.height - 1; y >= 0; --y) {
                    for (int x = 0; x < size_.width; ++x)
                        std::fwrite(&pal[f.colour()[std::size_t(y) * std::size_t(f.width()) + std::size_t(x)] * 3u], 1, 3, out);
                    for (int x = 0; x < size_.width; ++x)
                        std::fwrite(&gl[(std::size_t(y) * std::size_t(size_.width) + std::size_t(x)) * 4], 1, 3, out);
                }
                std::fclose(out);
            }
        }
        return either ? double(same) / double(either) : 0.0;
    }

private:
    // TARN's camera as a model-view matrix (read off its transform of the
    // origin and the axes) and its projection as a GL one: screen x grows
    // against camera x, y from the bottom, depth from kNearestFilledZ.
    void setMatrices(const RenderTarget& t) {
        const CameraTransform cam(t.eye, t.lookAt);
        const Vec3f o = cam.apply({0, 0, 0});
        const std::array<Vec3f, 3> axes{cam.apply({1, 0, 0}) - o, cam.apply({0, 1, 0}) - o,
                                        cam.apply({0, 0, 1}) - o};
        std::array<float, 16> mv{};
        for (int c = 0; c < 3; ++c) {
            mv[std::size_t(c * 4 + 0)] = axes[std::size_t(c)].x;
            mv[std::size_t(c * 4 + 1)] = axes[std::size_t(c)].y;
            mv[std::size_t(c * 4 + 2)] = axes[std::size_t(c)].z;
        }
        mv[12] = o.x;
        mv[13] = o.y;
        mv[14] = o.z;
        mv[15] = 1;
        const Projection proj(size_.width, size_.height, cam.dist, t.fieldOfView);
        const float k = proj.scale() * cam.dist;
        const float n = kNearestFilledZ;
        std::array<float, 16> pr{};
        pr[0] = -k / float(size_.width / 2);
        pr[5] = k / float(size_.height / 2);
        pr[10] = (kFarZ + n) / (kFarZ - n);
        pr[11] = 1;
        pr[14] = -2 * kFarZ * n / (kFarZ - n);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(pr.data());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(mv.data());
    }

    Size size_;
    GLsizei vertexCount_ = 0;
    GLuint buffer_ = 0;
    GLuint texture_ = 0;
    std::array<GLuint, 2> renderbuffers_{};
    GLuint framebuffer_ = 0;
    bool complete_ = false;
};

struct Timing {
    double wallMs;
    double cpuMs;  // every thread of the process: what a loaded machine cannot inflate
};

double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

template <class Draw>
Timing timeDraws(int frames, Draw draw) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < frames + 3; ++i) {
        const auto start = Clock::now();
        const double cpuStart = processCpuMs();
        draw();
        const double cpuTook = processCpuMs() - cpuStart;
        const double took = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (i < 3) continue;  // the first frames warm caches and threads
        wall.push_back(took);
        cpu.push_back(cpuTook);
    }
    return {medianMs(wall), medianMs(cpu)};
}

// Everything one thread count measures, printed as table rows.
int measure(int threads, int frames) {
    const std::string count = std::to_string(threads);
    setenv("LP_NUM_THREADS", count.c_str(), 1);
    setenv("GALLIUM_DRIVER", "llvmpipe", 1);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    GlContext gl;
    if (!gl.open()) {
        std::printf("llvmpipe unavailable: %s\n", gl.error().c_str());
        return 1;
    }
    if (threads == 1)
        std::printf("GL renderer: %s\n\n| %-36s | %-11s | threads | TARN ms | llvmpipe ms | ratio | TARN CPU ms | llvmpipe CPU ms | CPU ratio | same colour |\n"
                    "|---|---|---|---|---|---|---|---|---|---|\n",
                    gl.renderer().c_str(), "scene", "pane");
    setRenderBands(threads);
    std::vector<Scene> all = scenes();
    for (Scene& scene : all) {
        RenderSession& s = *scene.session;
        for (const Size size : kSizes) {
            s.setSize(size.width, size.height);
            // The draw sets the mode's palette, which the GL texture copies.
            s.draw(kModeTextured);
            GlScene glScene(s, size);
            if (!glScene.complete()) {
                std::printf("GL frame buffer incomplete\n");
                return 1;
            }
            // Which GL face is TARN's back face follows from the winding the
            // camera's mirrored x gives; take the cull that agrees.
            double best = -1;
            bool front = false;
            for (const bool f : {false, true}) {
                glScene.cullFront(f);
                glScene.draw();
                const double a = glScene.agreement(s, std::to_string(&scene - &all.front()) + "-" +
                                                             std::to_string(size.width) + (f ? "-front" : "-back"));
                if (a > best) best = a, front = f;
            }
            glScene.cullFront(front);
            const Timing tarn = timeDraws(frames, [&] { s.draw(kModeTextured); });
            const Timing viaGl = timeDraws(frames, [&] { glScene.draw(); });
            std::printf("| %-36s | %4d x %-4d | %d | %7.3f | %7.3f | %5.2fx | %7.3f | %7.3f | %5.2fx | %5.1f%% |\n",
                        scene.name.c_str(), size.width, size.height, threads, tarn.wallMs, viaGl.wallMs,
                        viaGl.wallMs / tarn.wallMs, tarn.cpuMs, viaGl.cpuMs, viaGl.cpuMs / tarn.cpuMs, best * 100);
            std::fflush(stdout);
        }
    }
    return 0;
}

}  // namespace
}  // namespace tarn

int main(int argc, char** argv) {
    int frames = 41;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--frames") frames = std::max(1, std::atoi(argv[i + 1]));
    std::printf("Textured, medians of %d frames (TARN: %s; llvmpipe: glClear, glDrawArrays, glFinish)\n",
                frames, "RenderSession::draw into colour, depth and pick planes");
    std::fflush(stdout);
    int status = 0;
    for (const int threads : {1, 2}) {
        const pid_t child = fork();
        if (child == 0) std::exit(tarn::measure(threads, frames));
        int result = 0;
        waitpid(child, &result, 0);
        status |= WIFEXITED(result) ? WEXITSTATUS(result) : 1;
    }
    return status;
}
