# Precompiled Qt headers. Most of a cold build is the compiler reading Qt's headers again for
# every file; each library reads them once instead. The tests share one set with their support
# library, since they are built with the same flags.
set(vuva_pch_core <QByteArray> <QDateTime> <QDir> <QElapsedTimer> <QFile> <QHash> <QList> <QMap>
    <QObject> <QString> <QStringList> <QTimer> <functional> <optional> <vector>)
set(vuva_pch_gui ${vuva_pch_core} <QColor> <QImage> <QPainter>)
set(vuva_pch_widgets ${vuva_pch_gui} <QApplication> <QBoxLayout> <QCheckBox> <QComboBox>
    <QDialog> <QLabel> <QLineEdit> <QMessageBox> <QPushButton> <QWidget>)
set(vuva_pch_test ${vuva_pch_widgets} <QSignalSpy> <QTest>)

function(vuva_precompile target kind)
  if(TARGET ${target})
    target_precompile_headers(${target} PRIVATE ${vuva_pch_${kind}})
  endif()
endfunction()

function(vuva_precompile_all)
  foreach(target link vprinter_model batch)
    vuva_precompile(${target} core)
  endforeach()
  foreach(target graphics_model vuvactl_commands fuzz_drivers)
    vuva_precompile(${target} gui)
  endforeach()
  foreach(target ui graphics compose shell)
    vuva_precompile(${target} widgets)
  endforeach()
  if(TARGET testsupport)
    vuva_precompile(testsupport test)
    get_property(tests DIRECTORY ${CMAKE_SOURCE_DIR}/tests PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS tests)
      if(target MATCHES "^tst_")
        target_precompile_headers(${target} REUSE_FROM testsupport)
      endif()
    endforeach()
  endif()
endfunction()
