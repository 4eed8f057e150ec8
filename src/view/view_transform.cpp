#include "view/view_transform.h"

#include <cmath>

#include "model/world.h"

namespace velo {

double ModelToFieldCoord(double value, double fieldScale) {
    const double field = value * fieldScale;
    if (field > FieldClampLimit) return FieldClampLimit;
    if (field < -FieldClampLimit) return -FieldClampLimit;
    if (std::isnan(field)) return 0;  // a broken coordinate is drawn at the origin
    return field;
}

Vec2 ModelToField(Vec2 model, double fieldScale) {
    return {ModelToFieldCoord(model.X, fieldScale), ModelToFieldCoord(model.Y, fieldScale)};
}

Vec2 FieldToModel(Vec2 field, double fieldScale) {
    return {field.X / fieldScale, field.Y / fieldScale};
}

double PointsPerPixelForWidth(int widthPixels) {
    // A scene that has no width yet keeps one point per pixel rather than
    // dividing by zero.
    if (widthPixels <= 0) return FieldWidthPoints;
    return static_cast<double>(FieldWidthPoints) / widthPixels;
}

double GridSpacingUnits(double fieldScale) {
    return std::pow(10.0, std::floor(std::log10(1600.0 / fieldScale)));
}

SceneSize FitField(int availableWidth, int availableHeight) {
    double w = availableWidth;
    double h = availableHeight;
    if (w * 0.7 < h) {
        h = std::round(w * 0.7);
    } else if (w * 0.7 > h) {
        w = std::round(h / 0.7);
    }
    return {static_cast<int>(w), static_cast<int>(h)};
}

ViewTransform ViewTransform::FromParameters(const Parameters& params, int widthPixels) {
    ViewTransform view;
    view.FieldScale = params.FieldScale;
    view.FieldOriginX = params.FieldOriginX;
    view.FieldOriginY = params.FieldOriginY;
    view.PointsPerPixel = PointsPerPixelForWidth(widthPixels);
    return view;
}

Vec2 ViewTransform::ModelToPixel(Vec2 model) const {
    const Vec2 field = ModelToField(model, FieldScale);
    return {PixelX(field.X), PixelY(field.Y)};
}

Vec2 ViewTransform::PixelToModel(double pixelX, double pixelY) const {
    return FieldToModel({FieldX(pixelX), FieldY(pixelY)}, FieldScale);
}


NavigationResult ApplyNavigationKey(Parameters& params, int& panStep, const NavigationInput& input) {
    NavigationResult result;
    if (input.Running || !input.WindowEnabled || input.Key == NavigationKey::None) return result;

    const bool zoomKey = input.Key == NavigationKey::PadPlus || input.Key == NavigationKey::PadMinus;
    if (zoomKey) result.Redraw = true;
    if (!params.ViewUnlocked) return result;
    // Every key press while the view is unlocked lets the pointer display and
    // any drag follow the (possibly) moved view.
    result.RepeatPointerMove = true;
    if (!input.ControlOnly) return result;

    const int step = input.InvertNavigation ? -panStep : panStep;
    auto pan = [&](int dx, int dy) {
        params.FieldOriginX += dx;
        params.FieldOriginY += dy;
        result.Panned = true;
        result.Redraw = true;
    };
    switch (input.Key) {
        case NavigationKey::Pad0:
            params.FieldOriginX = FieldWidthPoints / 2;
            params.FieldOriginY = FieldHeightPoints / 2;
            result.Panned = true;
            result.Redraw = true;
            break;
        case NavigationKey::Pad8: pan(0, step); break;
        case NavigationKey::Pad2: pan(0, -step); break;
        case NavigationKey::Pad4: pan(step, 0); break;
        case NavigationKey::Pad6: pan(-step, 0); break;
        case NavigationKey::Pad7: pan(step, step); break;
        case NavigationKey::Pad9: pan(-step, step); break;
        case NavigationKey::Pad1: pan(step, -step); break;
        case NavigationKey::Pad3: pan(-step, -step); break;
        case NavigationKey::Pad5:
            panStep = panStep <= 100 ? 200 : 10;
            result.StepToggled = true;
            break;
        case NavigationKey::PadPlus:
            params.FieldScale *= 1.1;
            result.Zoomed = true;
            break;
        case NavigationKey::PadMinus:
            params.FieldScale /= 1.1;
            result.Zoomed = true;
            break;
        case NavigationKey::None: break;
    }
    return result;
}

}  // namespace velo
