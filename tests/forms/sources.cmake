list(APPEND VELO_CORE_TEST_SOURCES
  tests/forms/celestial_parameters_form_test.cpp
  tests/forms/hbody_form_test.cpp
  tests/forms/materials_editing_test.cpp
  tests/forms/parameters_apply_test.cpp
  tests/forms/parse_number_test.cpp
  tests/forms/time_scale_test.cpp
  tests/forms/unit_labels_test.cpp
)
