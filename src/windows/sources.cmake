# The Qt windows, one file per window; each binds its widgets to the form of
# the same name in src/forms/.
velo_layer(velo_windows windows
  SOURCES
    src/windows/ball_window.cpp
    src/windows/appearance_window.cpp
    src/windows/control_window.cpp
    src/windows/effects_window.cpp
    src/windows/performance_window.cpp
    src/windows/settings_dialog.cpp
    src/windows/settings_window.cpp
    src/windows/transparencies_window.cpp
    src/windows/air_window.cpp
    src/windows/file_properties_window.cpp
    src/windows/graph_view.cpp
    src/windows/graph_window.cpp
    src/windows/group_window.cpp
    src/windows/material_box.cpp
    src/windows/material_window.cpp
    src/windows/celestial_parameters_window.cpp
    src/windows/celestial_time_window.cpp
    src/windows/hbody_window.cpp
    src/windows/movable_window.cpp
    src/windows/number_field.cpp
    src/windows/optimize_window.cpp
    src/windows/peg_window.cpp
    src/windows/parameters_window.cpp
    src/windows/property_window.cpp
    src/windows/up_down.cpp
    src/windows/time_window.cpp
    src/windows/bar_window.cpp
    src/windows/curve_window.cpp
    src/windows/fixed_window.cpp
    src/windows/laval_window.cpp
    src/windows/plane_window.cpp
    src/windows/surface_window.cpp
  LINKS velo_record velo_forms velo_editing velo_platform velo_view velo_model Qt6::Widgets Qt6::Charts Qt6::Svg
)
