// Two-dimensional vector of the model: X to the right, Y up.
#pragma once

namespace velo {

struct Vec2 {
    double X = 0;
    double Y = 0;

    friend bool operator==(const Vec2&, const Vec2&) = default;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.X + b.X, a.Y + b.Y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.X - b.X, a.Y - b.Y}; }
inline Vec2 operator-(Vec2 a) { return {-a.X, -a.Y}; }
inline Vec2 operator*(Vec2 a, double s) { return {a.X * s, a.Y * s}; }
inline Vec2 operator*(double s, Vec2 a) { return {a.X * s, a.Y * s}; }
inline Vec2 operator/(Vec2 a, double s) { return {a.X / s, a.Y / s}; }
inline Vec2& operator+=(Vec2& a, Vec2 b) { a.X += b.X; a.Y += b.Y; return a; }
inline Vec2& operator-=(Vec2& a, Vec2 b) { a.X -= b.X; a.Y -= b.Y; return a; }

inline double Dot(Vec2 a, Vec2 b) { return a.X * b.X + a.Y * b.Y; }
// Two-dimensional cross product a.X*b.Y - a.Y*b.X.
inline double Cross(Vec2 a, Vec2 b) { return a.X * b.Y - a.Y * b.X; }

}  // namespace velo
