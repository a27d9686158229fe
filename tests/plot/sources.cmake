# Tests of src/plot, added to quillmark_core_tests or quillmark_ui_tests.
