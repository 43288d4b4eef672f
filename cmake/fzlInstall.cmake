# Install rules: the library, the tool fzl, the public headers of every module, the CMake
# package (find_package(fzl) gives fzl::fzl) and the pkg-config file. Paths
# follow GNUInstallDirs; private headers (<Module>/internal/) stay behind.

include(CMakePackageConfigHelpers)

set(FZL_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/fzl")

install(TARGETS fzl EXPORT fzlTargets
    RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT fzl_Runtime
    LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT fzl_Runtime
        NAMELINK_COMPONENT fzl_Development
    ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT fzl_Development)

# The command-line tool, when it is built, goes with the library (not into the CMake package).
if(TARGET fzl_tool)
    install(TARGETS fzl_tool RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT fzl_Runtime)
endif()

# Each module's include/ holds fzl/<Module>/*.h; the umbrella is src/include/fzl/fzl.h.
foreach(FZL_MODULE IN LISTS FZL_MODULES)
    set(FZL_MODULE_INCLUDE "${PROJECT_SOURCE_DIR}/src/${FZL_MODULE}/include/")
    if(IS_DIRECTORY "${FZL_MODULE_INCLUDE}")
        install(DIRECTORY "${FZL_MODULE_INCLUDE}"
            DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}" COMPONENT fzl_Development
            FILES_MATCHING PATTERN "*.h")
    endif()
endforeach()
install(DIRECTORY "${PROJECT_SOURCE_DIR}/src/include/"
    DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}" COMPONENT fzl_Development
    FILES_MATCHING PATTERN "*.h")

install(EXPORT fzlTargets
    NAMESPACE fzl::
    DESTINATION "${FZL_INSTALL_CMAKEDIR}"
    COMPONENT fzl_Development)
configure_package_config_file("${CMAKE_CURRENT_LIST_DIR}/fzlConfig.cmake.in"
    "${PROJECT_BINARY_DIR}/fzlConfig.cmake"
    INSTALL_DESTINATION "${FZL_INSTALL_CMAKEDIR}")
write_basic_package_version_file("${PROJECT_BINARY_DIR}/fzlConfigVersion.cmake"
    COMPATIBILITY SameMajorVersion)
install(FILES "${PROJECT_BINARY_DIR}/fzlConfig.cmake" "${PROJECT_BINARY_DIR}/fzlConfigVersion.cmake"
    DESTINATION "${FZL_INSTALL_CMAKEDIR}"
    COMPONENT fzl_Development)

# fzl.pc is written at install time, with the prefix actually installed to
# (`cmake --install --prefix` overrides the configured one). Absolute paths keep
# pkg-config's filtering of system directories working (-I/usr/include breaks
# the standard library's #include_next).
foreach(FZL_DIR IN ITEMS LIBDIR INCLUDEDIR)
    if(IS_ABSOLUTE "${CMAKE_INSTALL_${FZL_DIR}}")
        set(FZL_PC_${FZL_DIR} "${CMAKE_INSTALL_${FZL_DIR}}")
    else()
        set(FZL_PC_${FZL_DIR} "\${prefix}/${CMAKE_INSTALL_${FZL_DIR}}")
    endif()
endforeach()
install(CODE "
    set(FZL_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
    set(FZL_PC_LIBDIR [==[${FZL_PC_LIBDIR}]==])
    set(FZL_PC_INCLUDEDIR [==[${FZL_PC_INCLUDEDIR}]==])
    set(FZL_PC_DESCRIPTION [==[${PROJECT_DESCRIPTION}]==])
    set(FZL_PC_VERSION [==[${PROJECT_VERSION}]==])
    configure_file([==[${CMAKE_CURRENT_LIST_DIR}/fzl.pc.in]==] [==[${PROJECT_BINARY_DIR}/fzl.pc]==] @ONLY)
    " COMPONENT fzl_Development)
install(FILES "${PROJECT_BINARY_DIR}/fzl.pc"
    DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
    COMPONENT fzl_Development)
