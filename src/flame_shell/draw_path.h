#pragma once

// How the particles reach OpenGL: one immediate-mode triangle fan per particle, or the same
// triangles from client-side vertex arrays in a single draw call. Both give the same picture.
enum class DrawPath { Immediate, VertexArrays };
