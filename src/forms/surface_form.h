// The polyline surface window prpSurface: the vertex count, one vertex at a
// time chosen with the scroll bar, the thickness and the material.
#pragma once

#include "forms/fixed_form.h"

namespace velo {

inline constexpr const char* SurfaceTitle = "Cвойства поверхности №";

// The vertex count a typed number gives: its absolute value rounded down,
// at least 2 and at most SurfacePointCapacity.
int ClampedVertexCount(double typed);

class SurfaceForm : public FixedForm<Surface> {
public:
    // The copy has room for every vertex a surface may have; those beyond
    // the count keep what the record held there.
    SurfaceForm(const World& world, int number);

    std::string Title() const { return NumberedTitle(SurfaceTitle, Number()); }
    int VertexCount() const { return copy_.PointCount; }
    // Sets the count from a typed number; returns the count taken. The
    // chosen vertex stays within the new count.
    int SetVertexCount(double typed);

    // The vertex the scroll bar shows (0..count - 1) and its caption "k.".
    int Vertex() const { return vertex_; }
    void SelectVertex(int k);
    std::string VertexCaption() const { return std::to_string(vertex_ + 1) + "."; }
    Vec2 VertexPoint() const { return copy_.Points[static_cast<std::size_t>(vertex_)]; }
    void SetVertexX(double value) { copy_.Points[static_cast<std::size_t>(vertex_)].X = value; }
    void SetVertexY(double value) { copy_.Points[static_cast<std::size_t>(vertex_)].Y = value; }

    double Thickness() const { return 2 * copy_.HalfThickness; }
    // "Замкнутая": the last vertex joins the first and the contour is
    // filled, so it has no thickness to edit.
    bool Closed() const { return copy_.Closed; }
    void SetClosed(bool on) { copy_.Closed = on; }
    bool ThicknessEditable() const { return !copy_.Closed; }
    // A thickness that NonNegativeThickness refuses never gets here.
    void SetThickness(double thickness) { copy_.HalfThickness = thickness / 2; }
    void SetMaterial(int material) { copy_.Material = static_cast<std::uint8_t>(material); }

    // "ОК": the copy with its vertices replaces the record; its material
    // and (when above 0) its half thickness become the defaults of new
    // objects.
    void Apply(World& world) const;

private:
    int vertex_ = 0;
};

}  // namespace velo
