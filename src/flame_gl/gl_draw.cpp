#include "gl_draw.h"

#include <array>

#include "gl_headers.h"
#include "hexagon.h"

namespace {

constexpr int kFanVertices = 1 + kHexagonRimPoints;
constexpr int kFanTriangles = kHexagonRimPoints - 1;
constexpr int kArrayVertices = kParticleCapacity * kFanVertices;
constexpr int kArrayIndices = kParticleCapacity * kFanTriangles * 3;
static_assert(kArrayVertices <= 65536, "indices are 16-bit");

// Fan k's triangles in the order OpenGL takes them from a triangle fan: (centre, rim i, rim i+1).
constexpr std::array<GLushort, kArrayIndices> MakeFanIndices() {
    std::array<GLushort, kArrayIndices> indices{};
    int n = 0;
    for (int fan = 0; fan < kParticleCapacity; ++fan) {
        const int first = fan * kFanVertices;
        for (int i = 1; i <= kFanTriangles; ++i) {
            indices[n++] = static_cast<GLushort>(first);
            indices[n++] = static_cast<GLushort>(first + i);
            indices[n++] = static_cast<GLushort>(first + i + 1);
        }
    }
    return indices;
}

constexpr std::array<GLushort, kArrayIndices> kFanIndices = MakeFanIndices();

// The vertex arrays of one frame, filled in slot order; fixed storage, nothing allocated.
struct FanArrays {
    std::array<GLfloat, 2 * kArrayVertices> positions;
    std::array<GLfloat, 4 * kArrayVertices> colours;
};
FanArrays fanArrays;

bool Visible(const Particle& particle) {
    return particle.radiusX != 0;
}

void DrawParticlesImmediate(const Scene& scene) {
    for (int i = 0; i < scene.particleCount; ++i) {
        const Particle& p = scene.particles[i];
        if (Visible(p)) DrawHexagon(p.screenX, p.screenY, p.radiusX, p.radiusY, p.alpha);
    }
}

void DrawParticlesFromArrays(const Scene& scene) {
    int fans = 0;
    for (int i = 0; i < scene.particleCount; ++i) {
        const Particle& p = scene.particles[i];
        if (!Visible(p)) continue;
        GLfloat* position = &fanArrays.positions[2 * fans * kFanVertices];
        GLfloat* colour = &fanArrays.colours[4 * fans * kFanVertices];
        *position++ = p.screenX;
        *position++ = p.screenY;
        *colour++ = 1, *colour++ = 1, *colour++ = 0, *colour++ = p.alpha;
        for (const Point2& rim : HexagonRim(p.screenX, p.screenY, p.radiusX, p.radiusY)) {
            *position++ = rim.x;
            *position++ = rim.y;
            *colour++ = 1, *colour++ = 0, *colour++ = 0, *colour++ = 0;
        }
        ++fans;
    }
    if (fans == 0) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, fanArrays.positions.data());
    glColorPointer(4, GL_FLOAT, 0, fanArrays.colours.data());
    glDrawElements(GL_TRIANGLES, fans * kFanTriangles * 3, GL_UNSIGNED_SHORT, kFanIndices.data());
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

}  // namespace

void DrawHexagon(float x, float y, float radiusX, float radiusY, float alpha) {
    glBegin(GL_TRIANGLE_FAN);
    glColor4f(1, 1, 0, alpha);
    glVertex2f(x, y);
    glColor4f(1, 0, 0, 0);
    for (const Point2& rim : HexagonRim(x, y, radiusX, radiusY)) glVertex2f(rim.x, rim.y);
    glEnd();
}

void DrawParticles(const Scene& scene, DrawPath path) {
    glEnable(GL_BLEND);
    if (path == DrawPath::Immediate) {
        DrawParticlesImmediate(scene);
    } else {
        DrawParticlesFromArrays(scene);
    }
    glDisable(GL_BLEND);
}

void DrawOverlayText(unsigned listBase, std::string_view text, int width, int height) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, width, 0, height);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(1, 1, 1);
    glRasterPos2i(8, height - 20);
    glListBase(listBase);
    glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}
