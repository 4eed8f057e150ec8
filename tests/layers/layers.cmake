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
    set_tests_properties(Layers.${name} PROPERTIES WILL_FAIL TRUE)
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
