list(APPEND VELO_CORE_TEST_SOURCES
  tests/forms/ball_form_test.cpp
  tests/forms/file_properties_test.cpp
  tests/forms/fixed_forms_test.cpp
  tests/forms/graph_form_test.cpp
  tests/forms/celestial_parameters_form_test.cpp
  tests/forms/hbody_form_test.cpp
  tests/forms/materials_editing_test.cpp
  tests/forms/parameters_apply_test.cpp
  tests/forms/parse_number_test.cpp
  tests/forms/peg_form_test.cpp
  tests/forms/time_scale_test.cpp
  tests/forms/unit_labels_test.cpp
)
