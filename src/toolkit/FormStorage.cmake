# The form-placement storage on real windows: the placement logic of the settings unit applied
# to the toolkit's forms.
target_sources(vorlu_toolkit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/FormStorage.cpp ${CMAKE_CURRENT_LIST_DIR}/FormStorage.h)
target_link_libraries(vorlu_toolkit PUBLIC vorlu_settings)
