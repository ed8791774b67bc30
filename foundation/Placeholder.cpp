// Foundation sources join here.
