# The preferences: the table of every setting with its default, the text
# form of the values, and their reading at start-up over a store of texts.
velo_layer(velo_prefs prefs
  SOURCES
    src/prefs/settings_choices.cpp
    src/prefs/settings_store.cpp
    src/prefs/settings_table.cpp
  LINKS velo_forms
)
