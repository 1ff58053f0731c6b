# Precompiled Qt headers for the tests. Most of a test's compile is the compiler reading Qt's
# headers again; the thirty test programs and their support library read them once instead,
# since they are built with the same flags. The libraries go without: each is compiled in a
# few large runs, and building their own set would cost more than it saves.
set(vuva_pch_test <QByteArray> <QDateTime> <QDir> <QElapsedTimer> <QFile> <QHash> <QList> <QMap>
    <QObject> <QString> <QStringList> <QTimer> <functional> <optional> <vector> <QColor> <QImage>
    <QPainter> <QApplication> <QBoxLayout> <QCheckBox> <QComboBox> <QDialog> <QLabel> <QLineEdit>
    <QMessageBox> <QPushButton> <QWidget> <QSignalSpy> <QTest>)

function(vuva_precompile_all)
  if(TARGET testsupport)
    target_precompile_headers(testsupport PRIVATE ${vuva_pch_test})
    get_property(tests DIRECTORY ${CMAKE_SOURCE_DIR}/tests PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS tests)
      if(target MATCHES "^tst_")
        target_precompile_headers(${target} REUSE_FROM testsupport)
      endif()
    endforeach()
  endif()
endfunction()
