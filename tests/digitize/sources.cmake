# Tests of src/digitize, added to quillmark_core_tests or quillmark_ui_tests.
