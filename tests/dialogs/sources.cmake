# Tests of src/dialogs, added to quillmark_core_tests or quillmark_ui_tests.
