# The Qt-free logic of the windows: their values, filling, checks and how an
# accepted entry is applied to the World.
velo_layer(velo_forms forms
  SOURCES
    src/forms/ball_form.cpp
    src/forms/file_properties.cpp
    src/forms/graph_decimation.cpp
    src/forms/graph_form.cpp
    src/forms/bar_form.cpp
    src/forms/curve_form.cpp
    src/forms/fixed_form.cpp
    src/forms/group_properties.cpp
    src/forms/laval_form.cpp
    src/forms/celestial_parameters_form.cpp
    src/forms/hbody_form.cpp
    src/forms/materials_editing.cpp
    src/forms/movable_properties.cpp
    src/forms/number_input.cpp
    src/forms/parameters_apply.cpp
    src/forms/parse_number.cpp
    src/forms/peg_form.cpp
    src/forms/plane_form.cpp
    src/forms/surface_form.cpp
    src/forms/text_fields.cpp
    src/forms/time_scale.cpp
    src/forms/unit_labels.cpp
  LINKS velo_celestial velo_model
)
