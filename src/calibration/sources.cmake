# Files of src/calibration, added to quillmark_core or quillmark_ui.
