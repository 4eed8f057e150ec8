// Drawing of a mechanical scene in two layers.
//
// The lower layer (grid and fixed objects) is painted into a cached image by
// the full redraw MWRefresh only. The upper layer (axes, balls and their
// marks, thread segments, rods) is painted over that image on every frame,
// from the current positions in the World, in the stacking order of
// ZOrders: axes, thread segments, then for each layer 0..255 the balls of
// that layer in number order followed by its rods. A simulation tick thus
// costs one copy of the cached image and the moving objects only.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QColor>
#include <QImage>
#include <QPicture>
#include <QSize>

#include "model/world.h"
#include "view/colours.h"
#include "view/view_transform.h"

class QPainter;

namespace velo {

// Drawing settings kept outside the World.
struct RenderSettings {
    bool UseGdiPlus = false;      // "UseGDI+": anti-aliased fixed objects
    bool ShadedBalls = true;      // balls as shaded pictures
    double GradientDensity = 0.2; // factor of the number of shading steps
    bool GridOn = true;           // the "Сетка" menu item is ticked
    bool AwaitingBody = false;    // a new celestial body waits for its click: grey sky

    bool operator==(const RenderSettings&) const = default;
};

QColor ToQColor(Colour c);

// Colour of a fixed object: its material's colour, Colors(fixed, selected)
// when selected, Colors(fixed, changeable) when its marker byte is 18 (this
// wins). material < 0 means no material (a suspension point: black).
Colour FixedObjectColour(const World& world, int material, bool selected, std::uint8_t marker);

// Everything the fixed-object routines need.
struct DrawContext {
    QPainter& Painter;
    const World& Scene;
    ViewTransform View;
    RenderSettings Settings;
};

// One routine per fixed kind. Each draws one record (nothing when it does
// not exist) and returns whether anything was drawn. `marker` is the marker
// byte of a working copy (ChangeableMarker) or 0.
bool DrawLaval(const DrawContext& context, const Laval& laval, std::uint8_t marker = 0);
bool DrawHand(const DrawContext& context, const HandWall& hand, std::uint8_t marker = 0);
bool DrawWall(const DrawContext& context, const HandWall& wall, std::uint8_t marker = 0);
bool DrawPlane(const DrawContext& context, const Plane& plane, std::uint8_t marker = 0);
bool DrawSurface(const DrawContext& context, const Surface& surface, std::uint8_t marker = 0);
bool DrawSurface2(const DrawContext& context, const Surface2& curve, std::uint8_t marker = 0);

// Grid lines (light grey, anchored at the model origin, over the whole field).
void DrawGrid(QPainter& painter, const ViewTransform& view);

// Pen width in pixels of an open polyline surface or curve of half
// thickness h: max(1, floor(2 h FieldScale / PointsPerPixel + 0.5)).
int PolylineWidthPixels(double halfThickness, const ViewTransform& view);

// Width in pixels of a rod's line: round(min(1000, max(1, Width FieldScale / PointsPerPixel))).
int RodWidthPixels(double width, const ViewTransform& view);

// Shading steps of a ball picture: floor(min(250, max(3,
// |Brightness(c) - Brightness(s)| * GradientDensity * Radius * FieldScale))).
int BallSteps(Colour c, Colour s, double gradientDensity, double radius, double fieldScale);

// The concentric discs of a ball picture of radius 3000 units, outermost
// first: the full disc in MixColour(s, c, sqrt(1/k)), then for i = 2..k the
// disc of radius floor(3000 sqrt(1 - (i - 1)/k)) in MixColour(s, c, sqrt(i/k)).
// k is clamped to 3..250.
struct BallDisc {
    int Radius = 0;
    Colour Fill = 0;
};
std::vector<BallDisc> BallPictureDiscs(int k, Colour s, Colour c);

// The same discs recorded as a vector picture (outline of the first disc in
// the shadow colour). Returns false when the recording failed.
bool CreateBallPicture(int k, Colour s, Colour c, QPicture& picture);

// Fits a background picture to the scene keeping its aspect ratio (to the
// scene's width when scaling to its height would make it wider, else to its
// height) and paints it at the top-left of a white image of the scene's size.
QImage FitBackground(const QImage& picture, QSize scene);

// Mean brightness of 200 samples of the fitted background at field points
// X = (r1 * 10000 - FieldOriginX) * 0.9, Y = (r2 * (-7000) + FieldOriginY) * 0.9,
// r1, r2 from `random` in [0, 1). Samples outside the image are taken at its
// nearest edge pixel.
double EstimateAmbientLight(const QImage& fitted, const ViewTransform& view,
                            const std::function<double()>& random);

// What the upper layer remembers of one ball between redraws.
struct BallElement {
    Colour FlatColour = 0;    // fill and outline of the flat circle
    bool FlatVisible = false; // Ballic
    bool PictureVisible = false; // Ball3D
    bool MarkVisible = false; // Marko
    Colour MarkColour = 0xFFFFFF;
    // The picture and the three inputs it was built from (-1: none yet).
    int Steps = -1;
    Colour PictureColour = -1;
    Colour ShadowColour = -1;
    QPicture Picture = QPicture();
    bool PictureFailed = false;  // the picture could not be made: drawn flat
};

struct PegElement {
    Colour LineColour = 0;
    int WidthPixels = 1;
    bool Visible = false;
};

struct ThreadElement {
    Colour LineColour = 0;
    bool Visible = false;
};

class WorldRenderer {
public:
    WorldRenderer();

    void SetSettings(const RenderSettings& settings) {
        if (!(settings == settings_)) lowerValid_ = false;
        settings_ = settings;
    }
    const RenderSettings& Settings() const { return settings_; }

    // The fitted background picture painted under the grid; a null image
    // means none.
    void SetBackground(const QImage& fitted) {
        background_ = fitted;
        lowerValid_ = false;
    }
    const QImage& Background() const { return background_; }

    // Full redraw into a lower layer of the given pixel size: clears the
    // picture, draws the grid and the fixed objects, then refreshes every
    // ball, thread and rod element. It only reads the World: a caller that
    // clears the selection calls ClearSelection first.
    void MWRefresh(const World& world, QSize sceneSize);
    // The same for a change of movable objects only: the lower layer is kept
    // when it was painted for this size, view, settings and background, so
    // an undo of a ball edit in a scene full of surfaces stays quick.
    void MovableRefresh(const World& world, QSize sceneSize);

    // Repaints only the lower layer (grid and fixed objects).
    void PaintLowerLayer(const World& world);

    // Per-object refreshes of the upper layer (colours, pictures, visibility).
    void BallRefresh(const World& world, int number);
    void PegRefresh(const World& world, int number);
    void ThreadHalfRefresh(const World& world, int number);

    // Paints the upper layer from the current positions of the World.
    void PaintUpperLayer(QPainter& painter, const World& world);
    void PaintAxes(QPainter& painter, const World& world);
    // The cached lower layer followed by the upper layer.
    void PaintScene(QPainter& painter, const World& world);

    const QImage& LowerLayer() const { return lower_; }
    const ViewTransform& View() const { return view_; }
    const BallElement& BallElementOf(int number) const { return balls_[static_cast<std::size_t>(number)]; }
    const PegElement& PegElementOf(int number) const { return pegs_[static_cast<std::size_t>(number)]; }
    const ThreadElement& ThreadElementOf(int number) const { return threads_[static_cast<std::size_t>(number)]; }

    // Drops every remembered picture (ClearWorld releases the drawing
    // resources of all balls).
    void ReleaseAll();

private:
    struct RasterKey;
    const QImage& RasterOf(const BallElement& element, int diameter);
    const QImage& FlatRasterOf(Colour colour, int diameter);
    void PaintBall(QPainter& painter, const World& world, int number);
    void PaintPeg(QPainter& painter, const World& world, int number);
    // Celestial bodies as filled circles, farthest first.
    void PaintBodies(QPainter& painter, const World& world);

    RenderSettings settings_;
    ViewTransform view_;
    QImage lower_;
    // The lower layer shows the fixed objects for the current size, view,
    // settings and background.
    bool lowerValid_ = false;
    ViewTransform lowerView_;
    QImage background_;
    std::vector<BallElement> balls_;
    std::vector<PegElement> pegs_;
    std::vector<ThreadElement> threads_;
    struct RasterCache;
    std::shared_ptr<RasterCache> rasters_;
};

}  // namespace velo
