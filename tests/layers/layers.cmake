# The layers are enforced by the build: each probe compiles one include with
# the include roots of one layer. The probes that cross a layer the wrong way
# must fail to compile; the control probes, the same includes with the right
# layer, must compile, so a failure means the header was out of reach.
function(velo_layer_probe name layer header expect)
  set(source ${CMAKE_BINARY_DIR}/layer_probes/${name}.cpp)
  file(WRITE ${source} "#include ${header}\nint LayerProbe${name}() { return 0; }\n")
  add_library(layer_probe_${name} OBJECT EXCLUDE_FROM_ALL ${source})
  target_link_libraries(layer_probe_${name} PRIVATE ${layer})
  add_test(NAME Layers.${name}
           COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target layer_probe_${name})
  set_tests_properties(Layers.${name} PROPERTIES RUN_SERIAL TRUE)
  if(expect STREQUAL "refused")
    # Refused for the right reason: the header is out of reach.
    set_tests_properties(Layers.${name} PROPERTIES PASS_REGULAR_EXPRESSION "No such file or directory")
  endif()
endfunction()

velo_layer_probe(ModelSeesModel velo_model "\"model/world.h\"" compiles)
velo_layer_probe(ModelSeesEngine velo_model "\"engine/imitator.h\"" refused)
velo_layer_probe(ModelSeesPersist velo_model "\"persist/qvs_file.h\"" refused)
velo_layer_probe(ModelSeesProject velo_model "\"project/lifecycle.h\"" refused)
velo_layer_probe(ModelSeesForms velo_model "\"forms/parse_number.h\"" refused)
velo_layer_probe(EngineSeesEngine velo_engine "\"engine/imitator.h\"" compiles)
velo_layer_probe(EngineSeesPersist velo_engine "\"persist/qvs_file.h\"" refused)
velo_layer_probe(PersistSeesPersist velo_persist "\"persist/qvs_file.h\"" compiles)
velo_layer_probe(PersistSeesEngine velo_persist "\"engine/imitator.h\"" refused)
velo_layer_probe(PersistSeesProject velo_persist "\"project/lifecycle.h\"" refused)
velo_layer_probe(ProjectSeesProject velo_project "\"project/lifecycle.h\"" compiles)
velo_layer_probe(ProjectSeesEngine velo_project "\"engine/imitator.h\"" refused)
velo_layer_probe(CoreSeesQt velo_core "<QObject>" refused)
velo_layer_probe(CoreSeesView velo_core "\"view/world_renderer.h\"" refused)
velo_layer_probe(FormsSeesForms velo_forms "\"forms/parse_number.h\"" compiles)
velo_layer_probe(FormsSeesEngine velo_forms "\"engine/imitator.h\"" refused)
velo_layer_probe(RecordSeesRecord velo_record "\"record/recorder.h\"" compiles)
velo_layer_probe(EngineSeesRecord velo_engine "\"record/recorder.h\"" refused)
velo_layer_probe(EditingSeesProject velo_editing "\"project/lifecycle.h\"" refused)

# A relative include ("../engine/x.h") would walk around the include roots:
# none is allowed in the sources.
add_test(NAME Layers.NoRelativeIncludes
         COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}/src -P ${CMAKE_SOURCE_DIR}/tests/layers/no_relative_includes.cmake)
