# SPDX-License-Identifier: MIT
# The product's texts, generated from the project's version and the author
# cache variables: productinfo.h for the program, and on Windows the
# resource script with the program file's icon and version record. Both
# come from the same values here, so they cannot disagree.

# The version as the program file shows it: "1.00" for 1.0, "1.12" for 1.12.
if(PROJECT_VERSION_MINOR LESS 10)
    set(VELTARO_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
    set(VELTARO_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()

set(VELTARO_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/app/productinfo.h.in ${VELTARO_GENERATED_DIR}/productinfo.h @ONLY)

add_library(veltaro_productinfo INTERFACE)
target_include_directories(veltaro_productinfo INTERFACE ${VELTARO_GENERATED_DIR})

if(WIN32)
    enable_language(RC)
    # One script and one manifest per program file: they differ in the
    # file's own name and in the rights the program asks for.
    set(VELTARO_PROGRAM_FILE_NAME ${PROJECT_NAME})
    set(VELTARO_EXECUTION_LEVEL highestAvailable)
    set(VELTARO_MANIFEST ${VELTARO_GENERATED_DIR}/veltaro.manifest)
    configure_file(${PROJECT_SOURCE_DIR}/app/win32/veltaro.manifest.in ${VELTARO_MANIFEST} @ONLY)
    set(VELTARO_RESOURCE_SCRIPT ${VELTARO_GENERATED_DIR}/veltaro.rc)
    configure_file(${PROJECT_SOURCE_DIR}/app/win32/veltaro.rc.in ${VELTARO_RESOURCE_SCRIPT} @ONLY)
    set(VELTARO_PROGRAM_FILE_NAME ${PROJECT_NAME}-demo)
    set(VELTARO_EXECUTION_LEVEL asInvoker)
    set(VELTARO_MANIFEST ${VELTARO_GENERATED_DIR}/veltaro-demo.manifest)
    configure_file(${PROJECT_SOURCE_DIR}/app/win32/veltaro.manifest.in ${VELTARO_MANIFEST} @ONLY)
    set(VELTARO_DEMO_RESOURCE_SCRIPT ${VELTARO_GENERATED_DIR}/veltaro-demo.rc)
    configure_file(${PROJECT_SOURCE_DIR}/app/win32/veltaro.rc.in ${VELTARO_DEMO_RESOURCE_SCRIPT} @ONLY)
endif()
