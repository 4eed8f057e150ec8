list(APPEND VELO_CORE_SOURCES
  src/model/materials.cpp
  src/model/materials_editing.cpp
  src/model/parameters_apply.cpp
  src/model/parse_number.cpp
  src/model/text_fields.cpp
  src/model/unit_labels.cpp
  src/model/world_ops.cpp
)
